#include "launcher/SingleInstance.h"

#include "support/RecordingPrompts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qvs {
namespace {

using Sleeps = std::vector<std::chrono::milliseconds>;
using Messages = std::vector<std::string>;

// One search for the client's window; without one the launcher waits eleven
// times 100 ms, with one it says so at once.
TEST(SingleInstanceTest, SearchesOnceThenWaitsOrReports) {
    const std::string running =
        "You are already running Quorvash.  Press <Ctrl><Alt><Delete> and kill the application through Windows Task Manager.";
    for (std::uintptr_t window : {std::uintptr_t{0}, std::uintptr_t{0x4a00007}}) {
        int searches = 0;
        Sleeps sleeps;
        SingleInstance instance(
            [&] {
                ++searches;
                return window;
            },
            [&](std::chrono::milliseconds time) { sleeps.push_back(time); });
        test::RecordingPrompts prompts;
        EXPECT_EQ(instance.FoundRunningInstance(prompts), window != 0);
        EXPECT_EQ(searches, 1);
        EXPECT_EQ(sleeps, window != 0 ? Sleeps{} : Sleeps(11, std::chrono::milliseconds{100}));
        EXPECT_EQ(prompts.messages, window == 0 ? Messages{} : Messages{running});
    }
}

} // namespace
} // namespace qvs
