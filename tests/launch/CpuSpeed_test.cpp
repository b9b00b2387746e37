#include "launcher/GameLaunch.h"
#include "platform/PerformanceCounter.h"
#include "platform/PhysicalMemory.h"
#include "platform/ThreadPriority.h"
#include "platform/TimeStampCounter.h"
#include "system/GetCpuSpeed.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

namespace qvs {
namespace {

// Clocks driven by the test: the counter advances by one tick per reading,
// the cycle counter returns its scripted readings in turn.
class FakeClocks {
public:
    FakeClocks(std::int64_t frequency, std::vector<std::optional<std::uint64_t>> stamps,
               std::optional<std::uint32_t> reported)
        : frequency_(frequency), stamps_(std::move(stamps)), reported_(reported) {}

    CpuClockSources Sources() {
        CpuClockSources sources;
        sources.counter = [this] { return counterReads_++; };
        sources.frequency = frequency_;
        sources.timeStamp = [this] { return stamps_.at(stampReads_++); };
        sources.reportedMhz = [this] { return reported_; };
        return sources;
    }

    std::int64_t counterReads_ = 0;
    std::size_t stampReads_ = 0;

private:
    std::int64_t frequency_;
    std::vector<std::optional<std::uint64_t>> stamps_;
    std::optional<std::uint32_t> reported_;
};

TEST(MeasureCpuSpeed, DividesTheCyclesOf100MsBy100000) {
    FakeClocks clocks(10000, {1000, 1000 + 266600000ULL}, 1);
    EXPECT_EQ(MeasureCpuSpeed(clocks.Sources()), 2666u);
    // 1000 ticks make 100 ms: one reading to start (0), then until 1000.
    EXPECT_EQ(clocks.counterReads_, 1001);
    EXPECT_EQ(clocks.stampReads_, 2u);
}

TEST(MeasureCpuSpeed, TruncatesPartialMegahertz) {
    FakeClocks clocks(10, {0, 99999}, 1234);
    // Under 1 MHz counts as nothing measured: the reported clock stands in.
    EXPECT_EQ(MeasureCpuSpeed(clocks.Sources()), 1234u);
    FakeClocks next(10, {0, 199999}, 1234);
    EXPECT_EQ(MeasureCpuSpeed(next.Sources()), 1u);
}

TEST(MeasureCpuSpeed, ClampsToThirtyTwoBits) {
    const std::uint64_t huge = std::uint64_t{100000} * std::numeric_limits<std::uint32_t>::max() +
                               std::uint64_t{100000} * 5;
    FakeClocks clocks(10, {0, huge}, 1);
    EXPECT_EQ(MeasureCpuSpeed(clocks.Sources()), std::numeric_limits<std::uint32_t>::max());
}

TEST(MeasureCpuSpeed, FallsBackToTheReportedClock) {
    struct Case {
        std::vector<std::optional<std::uint64_t>> stamps;
        std::optional<std::uint32_t> reported;
        std::uint32_t expected;
    };
    const std::vector<Case> cases = {
        {{std::nullopt}, 1800, 1800},      // no cycle counter: no waiting either
        {{std::nullopt}, std::nullopt, 0}, // nothing known at all
        {{5000, 4000}, 2200, 2200},        // ran backwards
        {{5000, 5000}, 2200, 2200},        // stood still
    };
    for (const Case& c : cases) {
        FakeClocks clocks(10000, c.stamps, c.reported);
        EXPECT_EQ(MeasureCpuSpeed(clocks.Sources()), c.expected);
        if (!c.stamps[0]) {
            EXPECT_EQ(clocks.counterReads_, 0);
        }
    }
}

TEST(GetCpuSpeed, GivesAPlausibleClockOnThisMachine) {
    const std::uint32_t mhz = GetCpuSpeed();
    if (!platform::ReadTimeStampCounter()) {
        GTEST_SKIP() << "no cycle counter; reported clock " << mhz;
    }
    EXPECT_GT(mhz, 100u);
    EXPECT_LT(mhz, 20000u);
}

TEST(PerformanceCounter, RunsForwardAtItsFrequency) {
    EXPECT_GT(platform::PerformanceFrequency(), 0);
    const std::int64_t first = platform::ReadPerformanceCounter();
    const std::int64_t second = platform::ReadPerformanceCounter();
    EXPECT_GE(second, first);
}

TEST(ThreadPriority, IsRestoredAfterTheMeasurement) {
    const int before = platform::CurrentThreadPriority();
    {
        const platform::RaisedThreadPriority raised;
        if (raised.Raised()) {
            EXPECT_NE(platform::CurrentThreadPriority(), before);
        }
    }
    EXPECT_EQ(platform::CurrentThreadPriority(), before);
}

TEST(PhysicalMemory, AvailableIsPartOfTotal) {
    const platform::PhysicalMemory memory = platform::GetPhysicalMemory();
    EXPECT_GT(memory.totalBytes, std::uint64_t{64} << 20);
    EXPECT_GT(memory.availableBytes, 0u);
    EXPECT_LE(memory.availableBytes, memory.totalBytes);
}

TEST(MachineFigures, MeasureReadsTheSystem) {
    const MachineFigures figures = MachineFigures::Measure();
    EXPECT_EQ(figures.totalMemoryBytes, platform::GetPhysicalMemory().totalBytes);
    EXPECT_LE(figures.availableMemoryBytes, figures.totalMemoryBytes);
}

} // namespace
} // namespace qvs
