#include "FileVersionCache.h"

#include <sys/stat.h>

namespace qvs {

namespace {

// The cache holds a handful of names; a client naming many files must not
// grow it without end.
constexpr std::size_t MaxEntries = 64;

} // namespace

platform::FileVersion FileVersionCache::Get(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return {};
    }
    {
        const std::lock_guard lock(mutex_);
        const auto found = entries_.find(path);
        if (found != entries_.end() && found->second.device == info.st_dev &&
            found->second.inode == info.st_ino && found->second.size == info.st_size &&
            found->second.modified.tv_sec == info.st_mtim.tv_sec &&
            found->second.modified.tv_nsec == info.st_mtim.tv_nsec) {
            return found->second.version;
        }
    }
    const platform::FileVersion version = platform::GetFileInformation(path);
    const std::lock_guard lock(mutex_);
    if (entries_.size() >= MaxEntries) {
        entries_.clear();
    }
    entries_[path] = {info.st_dev, info.st_ino, info.st_size, info.st_mtim, version};
    return version;
}

} // namespace qvs
