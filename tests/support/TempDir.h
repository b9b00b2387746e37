// A fresh directory under the system's temporary folder, removed with all
// its content when the object goes out of scope.
#pragma once

#include <filesystem>
#include <string>

namespace qvs::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // The directory with a trailing separator, as the launcher writes paths.
    std::string Str() const;
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

} // namespace qvs::test
