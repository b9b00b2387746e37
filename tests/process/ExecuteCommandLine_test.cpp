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

struct LinesCase {
    const char* text;
    Lines lines;
};

class SplitIntoLinesTest : public testing::TestWithParam<LinesCase> {};

TEST_P(SplitIntoLinesTest, BreaksAtCrLfCrOrLf) {
    EXPECT_EQ(SplitIntoLines(GetParam().text), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Breaks, SplitIntoLinesTest,
    testing::Values(LinesCase{"", {}}, LinesCase{"abc", {"abc"}}, LinesCase{"abc\n", {"abc"}},
                    LinesCase{"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
                    LinesCase{"a\n\nb", {"a", "", "b"}}, LinesCase{"\n", {""}},
                    LinesCase{"\r\n\r\n", {"", ""}}, LinesCase{"a\n\rb", {"a", "", "b"}},
                    LinesCase{"a\r\r\nb", {"a", "", "b"}},
                    LinesCase{"tab\tand spaces  \r\n", {"tab\tand spaces  "}}));

struct ChildCase {
    const char* actions;
    Lines lines;
};

class ExecuteCommandLineLinesTest : public testing::TestWithParam<ChildCase> {};

TEST_P(ExecuteCommandLineLinesTest, StandardOutputComesFirstThenStandardError) {
    test::RecordingPrompts prompts;
    Lines lines{"left over from before"};
    EXPECT_TRUE(ExecuteCommandLine(ChildCommand(GetParam().actions), lines, prompts));
    EXPECT_EQ(lines, GetParam().lines);
    EXPECT_TRUE(prompts.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Children, ExecuteCommandLineLinesTest,
    testing::Values(
        // written error first, read output first
        ChildCase{R"(err=second\n out=first\n)", {"first", "second"}},
        // no separator between the two texts
        ChildCase{"out=abc err=def", {"abcdef"}},
        ChildCase{R"(out=a\r\nb\rc\nd err=\re\r\n)", {"a", "b", "c", "d", "e"}},
        ChildCase{R"(out=only\r\n)", {"only"}}, ChildCase{R"(err=\n\n)", {"", ""}},
        ChildCase{"", {}}, ChildCase{"out=ends exit=7", {"ends"}}));

TEST(ExecuteCommandLineTest, LargeErrorOutputBeforeStandardOutput) {
    test::RecordingPrompts prompts;
    Lines lines;
    ASSERT_TRUE(ExecuteCommandLine(ChildCommand(R"(errfill=1048576 err=\n out=done)"), lines,
                                   prompts, std::chrono::seconds(60)));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "done" + std::string(1048576, 'e'));
}

TEST(ExecuteCommandLineTest, MissingProgramShowsTheMessageAndGivesNoLines) {
    test::RecordingPrompts prompts;
    Lines lines{"stale"};
    EXPECT_FALSE(ExecuteCommandLine("qvs-no-such-program-4711 -version", lines, prompts));
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(prompts.messages, Lines{"Error executing command line"});
    EXPECT_TRUE(prompts.questions.empty());
}

TEST(ExecuteCommandLineTest, ChildThatNeverEndsIsStoppedAndReported) {
    test::RecordingPrompts prompts;
    Lines lines;
    EXPECT_FALSE(ExecuteCommandLine(ChildCommand(R"(out=partial\n forever)"), lines, prompts,
                                    std::chrono::milliseconds(300)));
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(prompts.messages, Lines{"The command did not end in time and was stopped"});
}

TEST(ExecuteCommandLineTest, RunsAgainAfterAFailure) {
    test::RecordingPrompts prompts;
    Lines lines;
    EXPECT_FALSE(ExecuteCommandLine("qvs-no-such-program-4711", lines, prompts));
    EXPECT_TRUE(ExecuteCommandLine(ChildCommand("out=again"), lines, prompts));
    EXPECT_EQ(lines, Lines{"again"});
    EXPECT_EQ(prompts.messages.size(), 1u);
}

} // namespace
} // namespace qvs
