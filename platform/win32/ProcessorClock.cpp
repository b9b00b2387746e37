#include "platform/ProcessorClock.h"

#include <windows.h>

namespace qvs::platform {

std::optional<std::uint32_t> ReportedProcessorMhz() {
    DWORD mhz = 0;
    DWORD size = sizeof(mhz);
    const LSTATUS status =
        ::RegGetValueW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0",
                       L"~MHz", RRF_RT_REG_DWORD, nullptr, &mhz, &size);
    if (status != ERROR_SUCCESS || mhz == 0) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(mhz);
}

} // namespace qvs::platform
