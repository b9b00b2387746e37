// Unpacks arbitrary bytes as a package into a fresh directory inside a fresh
// parent, then checks that nothing appeared in the parent outside it.
#include "protocol/CStream.h"
#include "system/CDirectory.h"
#include "system/PackageError.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fs::path parent = FreshParent();
    qvs::CStream package;
    package.Write(data, size);
    package.SetPosition(0);
    const bool startupOnly = size > 0 && (data[0] & 1) != 0;
    try {
        qvs::CDirectory directory;
        const std::string base = (parent / "inside").string() + "/";
        if (startupOnly) {
            directory.ExtractStartupClass(package, base);
        } else {
            directory.ExtractPackage(package, base);
        }
    } catch (const std::exception&) {
        // Refused or short packages are expected; only escapes matter here.
    }
    for (const auto& entry : fs::directory_iterator(parent)) {
        if (entry.path().filename() != "inside") {
            std::abort();
        }
    }
    RemoveAll(parent);
    return 0;
}
