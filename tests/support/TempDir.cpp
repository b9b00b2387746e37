#include "support/TempDir.h"

#include <atomic>
#include <chrono>
#include <system_error>

namespace qvs::test {

namespace {
std::filesystem::path UniqueName() {
    static std::atomic<unsigned> counter{0};
    auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    return "qvs-test-" + std::to_string(stamp) + "-" + std::to_string(counter++);
}
} // namespace

TempDir::TempDir() : path_(std::filesystem::temp_directory_path() / UniqueName()) {
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ignored;
    // Tests may leave read-only files behind; make everything writable first.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add, ignored);
    }
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::Str() const {
    return (path_ / "").string();
}

} // namespace qvs::test
