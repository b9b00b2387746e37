#include "system/GetCpuSpeed.h"

#include "platform/PerformanceCounter.h"
#include "platform/ProcessorClock.h"
#include "platform/ThreadPriority.h"
#include "platform/TimeStampCounter.h"

#include <limits>

namespace qvs {

namespace {

constexpr std::uint64_t kCyclesPerMhzIn100Ms = 100000;

std::uint32_t Reported(const CpuClockSources& sources) {
    return sources.reportedMhz().value_or(0);
}

// Busy waiting, not sleeping: a sleep may last far longer than asked.
void SpinFor100Ms(const CpuClockSources& sources) {
    const std::int64_t ticks = sources.frequency / 10;
    const std::int64_t start = sources.counter();
    while (sources.counter() - start < ticks) {
    }
}

} // namespace

CpuClockSources CpuClockSources::System() {
    CpuClockSources sources;
    sources.counter = platform::ReadPerformanceCounter;
    sources.frequency = platform::PerformanceFrequency();
    sources.timeStamp = platform::ReadTimeStampCounter;
    sources.reportedMhz = platform::ReportedProcessorMhz;
    return sources;
}

std::uint32_t MeasureCpuSpeed(const CpuClockSources& sources) {
    const std::optional<std::uint64_t> first = sources.timeStamp();
    if (!first) {
        return Reported(sources);
    }
    SpinFor100Ms(sources);
    const std::optional<std::uint64_t> second = sources.timeStamp();
    // A counter that stood still or ran backwards (a change of processor on
    // an old machine) says nothing about the clock.
    if (!second || *second <= *first) {
        return Reported(sources);
    }
    const std::uint64_t mhz = (*second - *first) / kCyclesPerMhzIn100Ms;
    if (mhz == 0) {
        return Reported(sources);
    }
    return mhz > std::numeric_limits<std::uint32_t>::max()
               ? std::numeric_limits<std::uint32_t>::max()
               : static_cast<std::uint32_t>(mhz);
}

std::uint32_t GetCpuSpeed() {
    const platform::RaisedThreadPriority raised;
    return MeasureCpuSpeed(CpuClockSources::System());
}

} // namespace qvs
