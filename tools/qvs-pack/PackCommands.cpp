#include "PackCommands.h"

#include "SignCommands.h"
#include "StreamFile.h"
#include "platform/AtomicFileBatch.h"
#include "platform/FileSystem.h"
#include "protocol/CStream.h"
#include "system/CDirectory.h"
#include "system/PackageInstaller.h"
#include "system/PackageReader.h"
#include "system/PackageWriter.h"
#include "system/ScrambledPackageFile.h"

#include <exception>
#include <ostream>

namespace qvs {

namespace {

constexpr const char* usageText =
    "usage: qvs-pack create FOLDER OUT.ecd [--base DIR]\n"
    "       qvs-pack list FILE.ecd\n"
    "       qvs-pack extract FILE.ecd INSTALL_DIR\n"
    "       qvs-pack encode IN OUT\n"
    "       qvs-pack decode IN OUT\n"
    "       qvs-pack keygen SECRET_FILE\n"
    "       qvs-pack sign --key SECRET_FILE --name NAME --version V FILE\n"
    "       qvs-pack verify --public-key B64 [--name NAME --version V] FILE\n";

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

} // namespace

PackCommands::PackCommands(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

int PackCommands::Run(const std::vector<std::string>& args) {
    try {
        return Dispatch(args);
    } catch (const std::exception& error) {
        err_ << "qvs-pack: " << error.what() << '\n';
        return BadInput;
    }
}

int PackCommands::Dispatch(const std::vector<std::string>& args) {
    const std::string command = args.empty() ? "" : args[0];
    const std::size_t count = args.size();
    if (command == "create" && (count == 3 || (count == 5 && args[3] == "--base"))) {
        Create(args[1], args[2], count == 5 ? args[4] : "");
    } else if (command == "list" && count == 2) {
        List(args[1]);
    } else if (command == "extract" && count == 3) {
        Extract(args[1], args[2]);
    } else if (command == "encode" && count == 3) {
        Encode(args[1], args[2]);
    } else if (command == "decode" && count == 3) {
        Decode(args[1], args[2]);
    } else if (!SignCommands(out_).Run(args)) {
        return Usage();
    }
    return Success;
}

int PackCommands::Usage() {
    err_ << usageText;
    return WrongUsage;
}

void PackCommands::Create(const std::string& folder, const std::string& output,
                          const std::string& base) {
    CStream package;
    PackageWriter::Write(package, folder, base);
    package.Encode();
    StreamFile::Save(output, package);
}

// List, extract and decode read the package file a window at a time, so a
// package of any size needs little memory. List and extract stop at a
// signature trailer, as the launcher does.
void PackCommands::List(const std::string& input) {
    ScrambledPackageFile package(input, SignCommands::PackageLength(input));
    std::string base;
    package.ReadString(base);
    out_ << "base " << Quoted(base) << '\n';
    PackageReader reader(
        package, [this](const std::string& path) { out_ << "directory " << Quoted(path) << '\n'; },
        [this](const std::string& directory, const std::string& name, PackageContent& content) {
            out_ << "file " << Quoted(directory) << ' ' << Quoted(name) << ' ' << content.Size()
                 << '\n';
            return false;
        });
    reader.Read();
}

void PackCommands::Extract(const std::string& input, const std::string& installDir) {
    ScrambledPackageFile package(input, SignCommands::PackageLength(input));
    CDirectory directory;
    PackageInstaller(directory, installDir).Install(package);
}

void PackCommands::Encode(const std::string& input, const std::string& output) {
    CStream content;
    StreamFile::Load(input, content);
    content.Encode();
    StreamFile::Save(output, content);
}

void PackCommands::Decode(const std::string& input, const std::string& output) {
    ScrambledPackageFile content(input);
    platform::AtomicFileBatch file;
    file.Add(output, [&content](const platform::AtomicFileBatch::ContentWriter& write) {
        content.ReadPieces(static_cast<std::size_t>(content.Remaining()), write);
    });
    file.Commit();
}

} // namespace qvs
