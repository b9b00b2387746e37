#include "platform/PerformanceCounter.h"

#include <windows.h>

namespace qvs::platform {

std::int64_t ReadPerformanceCounter() {
    LARGE_INTEGER now{};
    ::QueryPerformanceCounter(&now);
    return now.QuadPart;
}

std::int64_t PerformanceFrequency() {
    LARGE_INTEGER frequency{};
    ::QueryPerformanceFrequency(&frequency);
    return frequency.QuadPart;
}

} // namespace qvs::platform
