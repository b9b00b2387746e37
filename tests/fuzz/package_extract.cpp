// Unpacks arbitrary bytes as a package into a fresh directory inside a fresh
// parent, then checks that nothing appeared in the parent outside it. A full
// extraction is done twice, from memory and from the scrambled file read a
// small window at a time; both must leave the same files and the same error.
#include "FuzzSupport.h"
#include "support/RawFile.h"
#include "support/TempDir.h"
#include "support/TreeSnapshot.h"
#include "system/CDirectory.h"
#include "system/PackageError.h"
#include "system/ScrambledPackageFile.h"

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <typeinfo>

namespace {

namespace fs = std::filesystem;

struct Outcome {
    std::string base;  // where the package was unpacked to, ending in "/"
    std::string error; // the error it ended with, by kind and text; empty when none
    std::map<std::string, std::string> tree; // everything inside, by relative path
};

// Runs extract into a fresh directory inside a fresh parent, which goes
// afterwards; aborts when anything appeared beside that directory.
Outcome Extract(const std::function<void(const std::string& base)>& extract) {
    const qvs::test::TempDir parent;
    const fs::path inside = parent.Path() / "inside";
    fs::create_directories(inside);
    Outcome outcome{inside.string() + "/", "", {}};
    try {
        extract(outcome.base);
    } catch (const std::exception& error) {
        outcome.error = std::string(typeid(error).name()) + ": " + error.what();
    }
    for (const auto& entry : fs::directory_iterator(parent.Path())) {
        qvs::fuzz::Check(entry.path().filename() == "inside");
    }
    outcome.tree = qvs::test::TreeSnapshot(inside);
    return outcome;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qvs::CStream package = qvs::fuzz::StreamOf(data, size);
    if (size > 0 && (data[0] & 1) != 0) {
        Extract(
            [&](const std::string& base) { qvs::CDirectory().ExtractStartupClass(package, base); });
        return 0;
    }
    const Outcome fromMemory =
        Extract([&](const std::string& base) { qvs::CDirectory().ExtractPackage(package, base); });

    const qvs::test::TempDir scratch;
    const std::string scrambledPath = scratch.File("package.ecd");
    package.SetPosition(0);
    package.Encode();
    qvs::test::WriteRawFile(scrambledPath, package.View());
    const std::size_t window = size == 0 ? 1 : 1 + data[size - 1] % 16;
    const Outcome fromFile = Extract([&](const std::string& base) {
        qvs::ScrambledPackageFile file(scrambledPath, qvs::ScrambledPackageFile::WholeFile, window);
        qvs::CDirectory().ExtractPackage(file, base);
    });
    // Messages name the base, which differs between the two parents.
    std::string expected = fromMemory.error;
    for (std::size_t at; (at = expected.find(fromMemory.base)) != std::string::npos;) {
        expected.replace(at, fromMemory.base.size(), fromFile.base);
    }
    qvs::fuzz::Check(fromFile.tree == fromMemory.tree && fromFile.error == expected);
    return 0;
}
