#include "system/GetCpuSpeed.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

namespace qvs {
namespace {

// Cycles over 100 ms (frequency / 10 ticks of a counter that advances one
// tick per reading), the cycle counter giving its scripted readings in turn.
// Under 1 MHz, a cycle counter that does not advance, or none at all counts
// as nothing measured: the reported clock stands in, without any waiting.
TEST(MeasureCpuSpeed, DividesTheCyclesOf100MsBy100000OrFallsBack) {
    constexpr std::uint32_t most = std::numeric_limits<std::uint32_t>::max();
    const struct {
        std::int64_t frequency;
        std::vector<std::optional<std::uint64_t>> stamps;
        std::optional<std::uint32_t> reported;
        std::uint32_t expected;
        std::int64_t counterReads;
    } cases[] = {
        {10000, {1000, 1000 + 266600000ULL}, 1, 2666, 1001}, // 1000 ticks make 100 ms
        {10, {0, 199999}, 1234, 1, 2},                       // partial MHz are cut off
        {10, {0, 99999}, 1234, 1234, 2},
        {10, {0, std::uint64_t{100000} * most + 500000}, 1, most, 2},
        {10000, {std::nullopt}, 1800, 1800, 0},
        {10000, {std::nullopt}, std::nullopt, 0, 0},
        {10000, {5000, 4000}, 2200, 2200, 1001},
    };
    for (const auto& c : cases) {
        std::int64_t counterReads = 0;
        std::size_t stampReads = 0;
        CpuClockSources sources;
        sources.counter = [&counterReads] { return counterReads++; };
        sources.frequency = c.frequency;
        sources.timeStamp = [&] { return c.stamps.at(stampReads++); };
        sources.reportedMhz = [&c] { return c.reported; };
        EXPECT_EQ(MeasureCpuSpeed(sources), c.expected) << c.expected;
        EXPECT_EQ(counterReads, c.counterReads) << c.expected;
        EXPECT_EQ(stampReads, c.stamps.size()) << c.expected;
    }
}

} // namespace
} // namespace qvs
