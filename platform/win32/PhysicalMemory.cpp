#include "platform/PhysicalMemory.h"

#include <windows.h>

namespace qvs::platform {

PhysicalMemory GetPhysicalMemory() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    PhysicalMemory memory;
    if (::GlobalMemoryStatusEx(&status)) {
        memory.totalBytes = status.ullTotalPhys;
        memory.availableBytes = status.ullAvailPhys;
    }
    return memory;
}

} // namespace qvs::platform
