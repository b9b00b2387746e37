// The machine's physical memory, as the game launch records it in the
// configuration file for support staff.
#pragma once

#include <cstdint>

namespace qvs::platform {

struct PhysicalMemory {
    std::uint64_t totalBytes = 0;
    std::uint64_t availableBytes = 0;
};

// Zero for a figure the system does not give.
PhysicalMemory GetPhysicalMemory();

} // namespace qvs::platform
