// The embedded version of files in updates/, found by reading a file from its
// start until the version record, at most MaxScan bytes: launchers ask for
// QVS.exe's version at every start, and the file only changes when a new
// launcher is published. Kept by file identity (device and inode) with its
// size and modification time, so any name of the file finds it and a new
// file, or one written anew, is read again. A client naming every file in
// turn makes each one read once.
#pragma once

#include <cstdint>
#include <ctime>
#include <map>
#include <mutex>
#include <utility>

#include <sys/types.h>

#include "ServedFile.h"
#include "platform/FileVersion.h"

namespace qvs {

class FileVersionCache {
public:
    // A record further in counts as none: 0.0.0.0.
    static constexpr std::uint64_t MaxScan = 64 << 20;

    platform::FileVersion Get(const ServedFile& file);

private:
    struct Entry {
        off_t size;
        timespec modified;
        platform::FileVersion version;
    };

    std::mutex mutex_;
    std::map<std::pair<dev_t, ino_t>, Entry> entries_;
};

} // namespace qvs
