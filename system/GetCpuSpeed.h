// The processor clock in MHz, as the game launch records it for support.
//
// Where the processor has a cycle counter, its advance over 100 ms of the
// system's high-resolution counter is measured at raised thread priority.
// Elsewhere (or when the counter reads nonsense) the clock the operating
// system reports is taken, so the figure keeps its meaning of MHz; 0 when
// neither is known.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

namespace qvs {

// Where the measurement reads its clocks; the real ones by default.
struct CpuClockSources {
    std::function<std::int64_t()> counter;
    std::int64_t frequency = 0; // counter ticks per second
    std::function<std::optional<std::uint64_t>()> timeStamp;
    std::function<std::optional<std::uint32_t>()> reportedMhz;

    static CpuClockSources System();
};

// The measurement itself, without touching the thread priority.
std::uint32_t MeasureCpuSpeed(const CpuClockSources& sources);

// Busy for about 100 ms on the calling thread.
std::uint32_t GetCpuSpeed();

} // namespace qvs
