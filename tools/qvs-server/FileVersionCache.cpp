#include "FileVersionCache.h"

#include <algorithm>
#include <cerrno>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/VersionRecord.h"

namespace qvs {

namespace {

// More files than updates/ holds; a client cannot grow it past this.
constexpr std::size_t MaxEntries = 4096;
constexpr std::size_t ScanPiece = 64 * 1024;

// Piece by piece from the start; each window repeats the end of the one
// before, so a record cut by a piece boundary is seen whole.
platform::FileVersion Scan(int descriptor, std::uint64_t size) {
    const std::size_t overlap = platform::VersionRecordSize - 1;
    const std::uint64_t end = std::min(size, FileVersionCache::MaxScan);
    std::string window;
    for (std::uint64_t offset = 0; offset < end;) {
        const std::size_t kept = window.size();
        window.resize(kept +
                      static_cast<std::size_t>(std::min<std::uint64_t>(ScanPiece, end - offset)));
        const ssize_t count = ::pread(descriptor, window.data() + kept, window.size() - kept,
                                      static_cast<off_t>(offset));
        if (count < 0 && errno == EINTR) {
            window.resize(kept);
            continue;
        }
        if (count <= 0) {
            break;
        }
        window.resize(kept + static_cast<std::size_t>(count));
        offset += static_cast<std::uint64_t>(count);
        if (const auto text = platform::FindVersionRecord(window)) {
            return platform::ParseVersionText(*text);
        }
        window.erase(0, window.size() - std::min(window.size(), overlap));
    }
    return {};
}

bool Same(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

} // namespace

platform::FileVersion FileVersionCache::Get(const ServedFile& file) {
    struct stat info {};
    if (::fstat(file.Descriptor(), &info) != 0) {
        return {};
    }
    const auto identity = std::make_pair(info.st_dev, info.st_ino);
    {
        const std::lock_guard lock(mutex_);
        const auto found = entries_.find(identity);
        if (found != entries_.end() && found->second.size == info.st_size &&
            Same(found->second.modified, info.st_mtim)) {
            return found->second.version;
        }
    }
    const platform::FileVersion version =
        Scan(file.Descriptor(), static_cast<std::uint64_t>(info.st_size));
    const std::lock_guard lock(mutex_);
    if (entries_.size() >= MaxEntries && entries_.find(identity) == entries_.end()) {
        entries_.erase(entries_.begin());
    }
    entries_[identity] = {info.st_size, info.st_mtim, version};
    return version;
}

} // namespace qvs
