// The system's high-resolution counter: a monotonic tick count and the
// number of ticks per second.
#pragma once

#include <cstdint>

namespace qvs::platform {

std::int64_t ReadPerformanceCounter();
// Ticks per second; fixed while the system runs.
std::int64_t PerformanceFrequency();

} // namespace qvs::platform
