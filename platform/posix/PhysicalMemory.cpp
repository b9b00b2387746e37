#include "platform/PhysicalMemory.h"

#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <unistd.h>

namespace qvs::platform {

namespace {

std::uint64_t Pages(int name) {
    const long pages = ::sysconf(name);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0) {
        return 0;
    }
    return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize);
}

// Linux's own estimate of what can be had without swapping, which counts
// reclaimable caches; free pages alone would understate it badly.
std::optional<std::uint64_t> MemAvailable() {
    std::ifstream meminfo("/proc/meminfo");
    std::string line;
    while (std::getline(meminfo, line)) {
        if (line.rfind("MemAvailable:", 0) == 0) {
            std::istringstream fields(line.substr(13));
            std::uint64_t kib = 0;
            if (fields >> kib) {
                return kib * 1024;
            }
        }
    }
    return std::nullopt;
}

} // namespace

PhysicalMemory GetPhysicalMemory() {
    PhysicalMemory memory;
    memory.totalBytes = Pages(_SC_PHYS_PAGES);
#ifdef _SC_AVPHYS_PAGES
    memory.availableBytes = MemAvailable().value_or(Pages(_SC_AVPHYS_PAGES));
#else
    memory.availableBytes = MemAvailable().value_or(0);
#endif
    return memory;
}

} // namespace qvs::platform
