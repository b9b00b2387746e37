#include "launcher/DownloadProgress.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>

namespace qvs {
namespace {

// An unknown total must not divide by zero, and a server that sends more
// than it announced must not draw the bar past its end.
TEST(DownloadProgress, BarAndPercentStayInRange) {
    const std::tuple<std::int64_t, std::int64_t, int, std::string> cases[] = {
        {999, 1000, 299, "99%"}, {1000, 1000, 300, "100%"}, {5000, 1000, 300, "100%"},
        {-5, 1000, 0, "0%"},     {0, 0, 0, "0%"},           {7, 0, 300, "100%"}};
    for (const auto& [received, total, width, percent] : cases) {
        const DownloadProgress progress = DownloadProgress::Of(received, total);
        EXPECT_EQ(progress.barWidth, width) << received << "/" << total;
        EXPECT_EQ(progress.percent, percent) << received << "/" << total;
    }
}

} // namespace
} // namespace qvs
