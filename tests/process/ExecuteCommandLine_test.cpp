#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ChildCommand.h"
#include "support/RecordingPrompts.h"
#include "system/ExecuteCommandLine.h"

namespace qvs {
namespace {

using Lines = std::vector<std::string>;
using test::ChildCommand;

TEST(SplitIntoLinesTest, BreaksAtCrLfCrOrLf) {
    const std::pair<const char*, Lines> cases[] = {
        {"", {}},
        {"abc\n", {"abc"}},
        {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
        {"a\n\nb", {"a", "", "b"}},
        {"\r\n\r\n", {"", ""}},
        {"a\n\rb", {"a", "", "b"}},
        {"a\r\r\nb", {"a", "", "b"}},
        {"tab\tand spaces  \r\n", {"tab\tand spaces  "}}};
    for (const auto& [text, lines] : cases) {
        EXPECT_EQ(SplitIntoLines(text), lines) << text;
    }
}

// Standard output comes first, then standard error, with no break between.
TEST(ExecuteCommandLineTest, OutputThenErrorsInLines) {
    const std::pair<const char*, Lines> cases[] = {
        {R"(err=second\n out=first\n)", {"first", "second"}},
        {"out=abc err=def exit=7", {"abcdef"}},
        {R"(out=a\r\nb\rc\nd err=\re\r\n)", {"a", "b", "c", "d", "e"}},
        {"", {}}};
    for (const auto& [actions, expected] : cases) {
        test::RecordingPrompts prompts;
        Lines lines{"left over from before"};
        EXPECT_TRUE(ExecuteCommandLine(ChildCommand(actions), lines, prompts));
        EXPECT_EQ(lines, expected) << actions;
        EXPECT_TRUE(prompts.messages.empty());
    }
}

TEST(ExecuteCommandLineTest, FailuresAreShownAndGiveNoLines) {
    test::RecordingPrompts prompts;
    Lines lines{"stale"};
    EXPECT_FALSE(ExecuteCommandLine("qvs-no-such-program-4711 -version", lines, prompts));
    EXPECT_TRUE(lines.empty());
    lines = {"stale"};
    EXPECT_FALSE(ExecuteCommandLine(ChildCommand(R"(out=partial\n forever)"), lines, prompts,
                                    std::chrono::milliseconds(300)));
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(prompts.messages, (Lines{"Error executing command line",
                                       "The command did not end in time and was stopped"}));
    EXPECT_TRUE(prompts.questions.empty());
}

} // namespace
} // namespace qvs
