// A fresh directory under the system's temporary folder, removed with all
// its content when the object goes out of scope.
#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <system_error>

namespace qvs::test {

class TempDir {
public:
    TempDir() : path_(std::filesystem::temp_directory_path() / UniqueName()) {
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        namespace fs = std::filesystem;
        std::error_code ignored;
        // Tests may leave read-only files behind; make everything writable first.
        for (auto it = fs::recursive_directory_iterator(path_, ignored);
             it != fs::recursive_directory_iterator(); it.increment(ignored)) {
            fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, ignored);
        }
        fs::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // The directory with a trailing separator, as the launcher writes paths.
    std::string Str() const { return (path_ / "").string(); }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    static std::string UniqueName() {
        static std::atomic<unsigned> counter{0};
        return "qvs-test-" +
               std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + "-" +
               std::to_string(counter++);
    }

    std::filesystem::path path_;
};

} // namespace qvs::test
