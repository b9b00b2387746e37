#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "ChildCommand.h"
#include "launcher/CConfig.h"
#include "support/RecordingPrompts.h"
#include "support/TempDir.h"
#include "system/CheckJavaVersion.h"
#include "system/TextLines.h"

namespace qvs {
namespace {

using test::ChildCommand;
using Lines = std::vector<std::string>;

// A stand-in for the runtime writes the lines of a version query; standard
// output comes before standard error with no break between, and the lines
// are stored as one. A query that cannot run is shown and stored empty. The
// judgement itself is IsJavaVersionAccepted's, below.
TEST(CheckJavaVersionTest, RunsTheQueryAndStoresItsOutputAsOneLine) {
    const std::tuple<const char*, bool, std::string> cases[] = {
        {R"("err=java version \"1.4.2_03\"\r\nRuntime\rVM\n")", true,
         "java version \"1.4.2_03\" <BR> Runtime <BR> VM <BR> "},
        {R"("err=java version \"1.3.1_20\"\n" out=Runtime\n out=x)", false,
         "Runtime <BR> xjava version \"1.3.1_20\" <BR> "},
        {"", false, ""}};
    const test::TempDir dir;
    for (const auto& [actions, accepted, stored] : cases) {
        CConfig config(dir.File("qvs.cfg"));
        test::RecordingPrompts prompts;
        EXPECT_EQ(CheckJavaVersion(config, prompts, ChildCommand(actions)), accepted) << actions;
        EXPECT_EQ(config.ReadLines(), (Lines{"[JAVA_VERSION]", "VERSION=" + stored}));
        EXPECT_TRUE(prompts.messages.empty());
    }
    CConfig config(dir.File("other.cfg"));
    test::RecordingPrompts prompts;
    EXPECT_FALSE(CheckJavaVersion(config, prompts, "qvs-no-such-java-4711 -version"));
    EXPECT_EQ(prompts.messages, Lines{"Error executing command line"});
    EXPECT_EQ(config.ReadLines(), (Lines{"[JAVA_VERSION]", "VERSION="}));
    CConfig unwritable(dir.File("missing/qvs.cfg"));
    EXPECT_FALSE(CheckJavaVersion(unwritable, prompts, ChildCommand(std::get<0>(cases[0]))));
}

TEST(CheckJavaVersionTest, InstalledRuntime) {
    const test::TempDir dir;
    CConfig config(dir.File("qvs.cfg"));
    test::RecordingPrompts prompts;
    const bool accepted = CheckJavaVersion(config, prompts);
    if (prompts.messages == Lines{"Error executing command line"}) {
        GTEST_SKIP() << kJavaVersionCommandLine << " is not on the PATH";
    }
    EXPECT_TRUE(prompts.messages.empty());
    // One line, however many the runtime wrote.
    const Lines lines = config.ReadLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[1].starts_with("VERSION=")) << lines[1];
    EXPECT_NE(lines[1].find(" version \""), std::string::npos) << lines[1];
    EXPECT_TRUE(lines[1].ends_with(" <BR> ")) << lines[1];
    // Every runtime still installed anywhere is newer than 1.3.
    EXPECT_TRUE(accepted) << lines[1];
}

// Only the first quoted text counts; one that is no version is refused only
// for "1.0" to "1.3" anywhere in it.
TEST(IsJavaVersionAcceptedTest, ParsesTheVersionNumbers) {
    for (const char* output :
         {"java version 1.4.2", R"(java version "1.4)", R"("1.3")", R"("1.3.1_20")", R"("0.1.3")",
          R"("v1.2")", R"("1.x-1.1")", R"(x "1.3.1" y "17")"}) {
        EXPECT_FALSE(IsJavaVersionAccepted(output)) << output;
    }
    for (const char* output : {R"("1.4")", R"("1.4.2_03")", R"("1.10.1")", R"("2")", R"("17.0.15")",
                               R"("1")", R"("1.x")", R"("0.9")", R"("v11")", R"("")",
                               R"("99999999999999999999")", R"(x "17" y "1.3.1")"}) {
        EXPECT_TRUE(IsJavaVersionAccepted(output)) << output;
    }
}

// The lines of the query's output, as CheckJavaVersion joins them.
TEST(SplitIntoLinesTest, BreaksAtCrLfCrOrLf) {
    const std::pair<const char*, Lines> cases[] = {
        {"", {}},
        {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
        {"\r\n\r\n", {"", ""}},
        {"a\n\rb", {"a", "", "b"}},
        {"a\r\r\nb", {"a", "", "b"}},
        {"tab\tand spaces  \r\n", {"tab\tand spaces  "}}};
    for (const auto& [text, lines] : cases) {
        EXPECT_EQ(SplitIntoLines(text), lines) << text;
    }
}

} // namespace
} // namespace qvs
