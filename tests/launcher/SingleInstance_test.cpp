#include "launcher/SingleInstance.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qvs {
namespace {

struct RecordingPrompts : IPrompts {
    std::vector<std::string> messages;
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    bool AskYesNo(const std::string&) override { return false; }
};

struct Outcome {
    bool found = false;
    std::vector<std::chrono::milliseconds> sleeps;
    std::vector<std::string> messages;
};

Outcome RunWith(std::uintptr_t window) {
    Outcome run;
    int searches = 0;
    SingleInstance instance(
        [&] {
            ++searches;
            return window;
        },
        [&](std::chrono::milliseconds time) { run.sleeps.push_back(time); });
    RecordingPrompts prompts;
    run.found = instance.FoundRunningInstance(prompts);
    run.messages = prompts.messages;
    EXPECT_EQ(searches, 1);
    return run;
}

TEST(SingleInstanceTest, NothingFoundWaitsElevenTimesOneHundredMilliseconds) {
    const Outcome run = RunWith(0);
    EXPECT_FALSE(run.found);
    EXPECT_EQ(run.sleeps,
              std::vector<std::chrono::milliseconds>(11, std::chrono::milliseconds{100}));
    EXPECT_TRUE(run.messages.empty());
}

TEST(SingleInstanceTest, RunningClientIsReportedWithoutWaiting) {
    const Outcome run = RunWith(0x4a00007);
    EXPECT_TRUE(run.found);
    EXPECT_TRUE(run.sleeps.empty());
    ASSERT_EQ(run.messages.size(), 1u);
    EXPECT_EQ(run.messages[0],
              "You are already running Quorvash.  Press <Ctrl><Alt><Delete> and kill the "
              "application through Windows Task Manager.");
}

} // namespace
} // namespace qvs
