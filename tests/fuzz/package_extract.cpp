// Unpacks arbitrary bytes as a package into a fresh directory inside a fresh
// parent, then checks that nothing appeared in the parent outside it. A full
// extraction is done twice, from memory and from the scrambled file read a
// small window at a time; both must leave the same files and the same error.
#include "FuzzSupport.h"
#include "system/CDirectory.h"
#include "system/PackageError.h"
#include "system/ScrambledPackageFile.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <system_error>
#include <typeinfo>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

struct Outcome {
    std::string base;  // where the package was unpacked to, ending in "/"
    std::string error; // the error it ended with, by kind and text; empty when none
    std::map<std::string, std::string> tree; // everything inside, by relative path
};

// Runs extract into a fresh directory inside a fresh parent, which it removes
// afterwards; aborts when anything appeared beside that directory.
Outcome Extract(const std::function<void(const std::string& base)>& extract) {
    static std::atomic<unsigned> counter{0};
    const fs::path parent =
        fs::temp_directory_path() /
        ("qvs-fuzz-package-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    const fs::path inside = parent / "inside";
    fs::create_directories(inside);
    Outcome outcome{inside.string() + "/", "", {}};
    try {
        extract(outcome.base);
    } catch (const std::exception& error) {
        outcome.error = std::string(typeid(error).name()) + ": " + error.what();
    }
    for (const auto& entry : fs::directory_iterator(parent)) {
        qvs::fuzz::Check(entry.path().filename() == "inside");
    }
    for (const auto& entry : fs::recursive_directory_iterator(inside)) {
        std::string content = "<dir>";
        if (entry.is_regular_file() && !entry.is_symlink()) {
            std::ifstream in(entry.path(), std::ios::binary);
            content.assign(std::istreambuf_iterator<char>(in), {});
        }
        outcome.tree[entry.path().lexically_relative(inside).generic_string()] = content;
    }
    std::error_code ignored;
    for (auto it = fs::recursive_directory_iterator(parent, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    fs::remove_all(parent, ignored);
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

    const std::string scrambledPath =
        (fs::temp_directory_path() / ("qvs-fuzz-package-" + std::to_string(::getpid()) + ".ecd"))
            .string();
    package.SetPosition(0);
    package.Encode();
    std::ofstream(scrambledPath, std::ios::binary)
        .write(reinterpret_cast<const char*>(package.Data()),
               static_cast<std::streamsize>(package.Size()));
    const std::size_t window = size == 0 ? 1 : 1 + data[size - 1] % 16;
    const Outcome fromFile = Extract([&](const std::string& base) {
        qvs::ScrambledPackageFile file(scrambledPath, window);
        qvs::CDirectory().ExtractPackage(file, base);
    });
    fs::remove(scrambledPath);
    // Messages name the base, which differs between the two parents.
    std::string expected = fromMemory.error;
    for (std::size_t at; (at = expected.find(fromMemory.base)) != std::string::npos;) {
        expected.replace(at, fromMemory.base.size(), fromFile.base);
    }
    qvs::fuzz::Check(fromFile.tree == fromMemory.tree && fromFile.error == expected);
    return 0;
}
