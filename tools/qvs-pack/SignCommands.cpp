#include "SignCommands.h"

#include "platform/FileSystem.h"
#include "platform/Utf8Path.h"
#include "signing/Ed25519.h"
#include "signing/KeyText.h"
#include "signing/PeHeader.h"
#include "signing/SignatureError.h"
#include "signing/SignedDigest.h"
#include "signing/UpdateSignature.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <ostream>
#include <stdexcept>

namespace qvs {

namespace {

// "--option value" pairs before the last operand; nothing else.
std::optional<std::map<std::string, std::string>> Options(const std::vector<std::string>& args) {
    std::map<std::string, std::string> options;
    if (args.size() % 2 != 0) {
        return std::nullopt;
    }
    for (std::size_t i = 1; i + 1 < args.size(); i += 2) {
        if (args[i].rfind("--", 0) != 0 || !options.emplace(args[i], args[i + 1]).second) {
            return std::nullopt;
        }
    }
    return options;
}

std::string Option(const std::map<std::string, std::string>& options, const std::string& name) {
    const auto found = options.find(name);
    return found == options.end() ? "" : found->second;
}

std::string ReadFile(const std::string& path) {
    std::optional<std::string> bytes = platform::ReadWholeFile(path);
    if (!bytes) {
        throw std::runtime_error("cannot read " + path);
    }
    return std::move(*bytes);
}

// Reads the trailer from the end of the file, then hashes the content a
// window at a time, so a package of any size needs little memory.
std::string StreamedDigest(std::ifstream& in, std::uint64_t size) {
    SignedDigest digest;
    std::string window(std::size_t{1} << 20, '\0');
    in.seekg(0);
    while (size > 0) {
        const auto count =
            static_cast<std::streamsize>(std::min<std::uint64_t>(size, window.size()));
        if (!in.read(window.data(), count)) {
            throw std::runtime_error("read error");
        }
        digest.Add(std::string_view(window.data(), static_cast<std::size_t>(count)));
        size -= static_cast<std::uint64_t>(count);
    }
    return digest.HexDigest();
}

} // namespace

SignCommands::SignCommands(std::ostream& out) : out_(out) {}

bool SignCommands::Run(const std::vector<std::string>& args) {
    const std::string command = args.empty() ? "" : args[0];
    if (command == "keygen" && args.size() == 2) {
        KeyGen(args[1]);
        return true;
    }
    const auto options = Options(args);
    if (!options) {
        return false;
    }
    const std::string name = Option(*options, "--name");
    const std::string version = Option(*options, "--version");
    const std::size_t known = std::count_if(options->begin(), options->end(), [](const auto& o) {
        return o.first == "--key" || o.first == "--public-key" || o.first == "--name" ||
               o.first == "--version";
    });
    if (known != options->size() || name.empty() != version.empty()) {
        return false;
    }
    if (command == "sign" && options->count("--key") != 0 && !name.empty()) {
        Sign(options->at("--key"), name, version, args.back());
    } else if (command == "verify" && options->count("--public-key") != 0) {
        Verify(options->at("--public-key"), name, version, args.back());
    } else {
        return false;
    }
    return true;
}

void SignCommands::KeyGen(const std::string& secretFile) {
    const Ed25519::KeyPair keys = Ed25519::Generate();
    if (!platform::CreatePrivateFile(secretFile, KeyText::SecretKeyPem(keys.seed))) {
        throw std::runtime_error("cannot create " + secretFile + " (it must not exist yet)");
    }
    out_ << KeyText::Base64(keys.publicKey) << '\n';
}

// The last bytes before where the trailer would end (size: that end), so
// before a program's certificate table; in stays open on the file.
std::string SignCommands::ReadTail(const std::string& file, std::ifstream& in,
                                   std::uint64_t& size) {
    in.open(platform::Utf8Path(platform::NativePath(file)), std::ios::binary | std::ios::ate);
    if (!in) {
        throw std::runtime_error("cannot read " + file);
    }
    const auto fileSize = static_cast<std::uint64_t>(in.tellg());
    std::string head(
        static_cast<std::size_t>(std::min<std::uint64_t>(fileSize, PeHeader::MaxHeadSize)), '\0');
    in.seekg(0);
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    size = UpdateSignature::TrailerEnd(head, fileSize);
    std::string tail(
        static_cast<std::size_t>(std::min<std::uint64_t>(size, UpdateTrailer::MaxSize)), '\0');
    in.seekg(static_cast<std::streamoff>(size - tail.size()));
    in.read(tail.data(), static_cast<std::streamsize>(tail.size()));
    if (!in) {
        throw std::runtime_error("read error");
    }
    return tail;
}

std::uint64_t SignCommands::PackageLength(const std::string& file) {
    std::ifstream in;
    std::uint64_t size = 0;
    const std::string tail = ReadTail(file, in, size);
    return UpdateSignature::ContentSize(tail, size);
}

void SignCommands::Sign(const std::string& secretFile, const std::string& name,
                        const std::string& version, const std::string& file) {
    const std::string seed = KeyText::SeedFromPem(ReadFile(secretFile));
    const std::string bytes = ReadFile(file);
    // Authenticode signs the whole program, our trailer included: it comes last.
    if (UpdateSignature::TrailerEnd(bytes, bytes.size()) != bytes.size()) {
        throw std::runtime_error(file + " already carries an Authenticode signature; sign it "
                                        "for updates first");
    }
    const std::string_view content = UpdateSignature::Content(bytes);
    const std::string trailer = UpdateSignature::Sign(seed, {name, version}, content);
    platform::WriteFileAtomically(file, std::string(content) + trailer);
}

void SignCommands::Verify(const std::string& publicKeys, const std::string& name,
                          const std::string& version, const std::string& file) {
    const std::vector<std::string> keys = KeyText::PublicKeys(publicKeys);
    std::ifstream in;
    std::uint64_t size = 0;
    const std::string tail = ReadTail(file, in, size);
    const UpdateTrailer trailer = UpdateTrailer::Read(tail, size);
    const SignedItem expected{name, version};
    UpdateSignature::Check(trailer, StreamedDigest(in, trailer.contentSize), keys,
                           name.empty() ? nullptr : &expected);
    out_ << "name=" << trailer.item.name << '\n' << "version=" << trailer.item.version << '\n';
}

} // namespace qvs
