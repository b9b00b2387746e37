// The embedded version of files in updates/, found by reading each file
// through once: launchers ask for QVS.exe's version at every start, and the
// file only changes when a new launcher is published (a new size, time or
// file, which reads it again).
#pragma once

#include <ctime>
#include <map>
#include <mutex>
#include <string>

#include <sys/types.h>

#include "platform/FileVersion.h"

namespace qvs {

class FileVersionCache {
public:
    platform::FileVersion Get(const std::string& path);

private:
    struct Entry {
        dev_t device;
        ino_t inode;
        off_t size;
        timespec modified;
        platform::FileVersion version;
    };

    std::mutex mutex_;
    std::map<std::string, Entry> entries_;
};

} // namespace qvs
