// Unpacks arbitrary bytes as a package into a fresh directory inside a fresh
// parent, then checks that nothing appeared in the parent outside it. A full
// extraction is done twice, from memory and from the scrambled file read a
// small window at a time; both must leave the same files and the same error.
#include "protocol/CStream.h"
#include "system/CDirectory.h"
#include "system/PackageError.h"
#include "system/ScrambledPackageFile.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <system_error>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Tree = std::map<std::string, std::string>;

fs::path FreshParent() {
    static std::atomic<unsigned> counter{0};
    const fs::path parent =
        fs::temp_directory_path() /
        ("qvs-fuzz-package-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    fs::create_directories(parent / "inside");
    return parent;
}

void RemoveAll(const fs::path& parent) {
    std::error_code ignored;
    for (auto it = fs::recursive_directory_iterator(parent, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    fs::remove_all(parent, ignored);
}

// Everything inside, by relative path; aborts when anything lies beside it.
Tree Inside(const fs::path& parent) {
    for (const auto& entry : fs::directory_iterator(parent)) {
        if (entry.path().filename() != "inside") {
            std::abort();
        }
    }
    Tree tree;
    const fs::path inside = parent / "inside";
    for (const auto& entry : fs::recursive_directory_iterator(inside)) {
        std::string content = "<dir>";
        if (entry.is_regular_file() && !entry.is_symlink()) {
            std::ifstream in(entry.path(), std::ios::binary);
            content.assign(std::istreambuf_iterator<char>(in), {});
        }
        tree[entry.path().lexically_relative(inside).generic_string()] = content;
    }
    return tree;
}

// The error an extraction ended with, by kind and text; empty when none.
std::string Attempt(const std::function<void()>& extract) {
    try {
        extract();
    } catch (const std::exception& error) {
        return std::string(typeid(error).name()) + ": " + error.what();
    }
    return "";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fs::path parent = FreshParent();
    const std::string base = (parent / "inside").string() + "/";
    qvs::CStream package;
    package.Write(data, size);
    package.SetPosition(0);
    if (size > 0 && (data[0] & 1) != 0) {
        Attempt([&] { qvs::CDirectory().ExtractStartupClass(package, base); });
        Inside(parent);
        RemoveAll(parent);
        return 0;
    }
    const std::string fromMemory =
        Attempt([&] { qvs::CDirectory().ExtractPackage(package, base); });
    const Tree memoryTree = Inside(parent);
    RemoveAll(parent);

    const fs::path fileParent = FreshParent();
    const std::string fileBase = (fileParent / "inside").string() + "/";
    const std::string scrambledPath =
        (fs::temp_directory_path() / (fileParent.filename().string() + ".ecd")).string();
    package.SetPosition(0);
    package.Encode();
    std::ofstream(scrambledPath, std::ios::binary)
        .write(reinterpret_cast<const char*>(package.Data()),
               static_cast<std::streamsize>(package.Size()));
    const std::size_t window = size == 0 ? 1 : 1 + data[size - 1] % 16;
    std::string fromFile = Attempt([&] {
        qvs::ScrambledPackageFile file(scrambledPath, window);
        qvs::CDirectory().ExtractPackage(file, fileBase);
    });
    const Tree fileTree = Inside(fileParent);
    fs::remove(scrambledPath);
    RemoveAll(fileParent);
    // Messages name the base, which differs between the two parents.
    const auto sameError = [&] {
        std::string expected = fromMemory;
        for (std::size_t at; (at = expected.find(base)) != std::string::npos;) {
            expected.replace(at, base.size(), fileBase);
        }
        return expected == fromFile;
    };
    if (fileTree != memoryTree || !sameError()) {
        std::abort();
    }
    return 0;
}
