#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ChildCommand.h"
#include "RecordingConfig.h"
#include "support/RecordingPrompts.h"
#include "system/CheckJavaVersion.h"

namespace qvs {
namespace {

using test::ChildCommand;
using test::ConfigWrite;

struct JavaCase {
    const char* version;
    bool accepted;
};

class CheckJavaVersionTest : public testing::TestWithParam<JavaCase> {};

// A stand-in for the runtime writes the three lines of a real version query
// to standard error.
TEST_P(CheckJavaVersionTest, JudgesTheQuotedVersionAndStoresTheAnswer) {
    const std::string version = GetParam().version;
    const std::string actions = "\"err=java version \\\"" + version +
                                "\\\"\\r\\nJava(TM) Runtime (build " + version +
                                ")\\nVM (mixed mode)\\n\"";
    test::RecordingConfig config;
    test::RecordingPrompts prompts;
    EXPECT_EQ(CheckJavaVersion(config, prompts, ChildCommand(actions)), GetParam().accepted);
    const std::string stored = "java version \"" + version + "\" <BR> Java(TM) Runtime (build " +
                               version + ") <BR> VM (mixed mode) <BR> ";
    EXPECT_EQ(config.writes, (std::vector<ConfigWrite>{{"JAVA_VERSION", "VERSION", stored}}));
    EXPECT_TRUE(prompts.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Versions, CheckJavaVersionTest,
                         testing::Values(JavaCase{"1.0.2", false}, JavaCase{"1.1.8", false},
                                         JavaCase{"1.2.2", false}, JavaCase{"1.3.1", false},
                                         JavaCase{"1.3.1_20", false}, JavaCase{"1.4.2_03", true},
                                         JavaCase{"1.5.0", true}, JavaCase{"1.8.0_392", true},
                                         JavaCase{"9", true}, JavaCase{"11.0.2", true},
                                         JavaCase{"17.0.15", true}, JavaCase{"21", true},
                                         JavaCase{"21-ea", true}, JavaCase{"", true},
                                         JavaCase{"unknown", true}));

TEST(CheckJavaVersionTest, VersionInStandardOutputIsFoundToo) {
    test::RecordingConfig config;
    test::RecordingPrompts prompts;
    EXPECT_TRUE(CheckJavaVersion(
        config, prompts, ChildCommand(R"("out=openjdk version \"17.0.15\" 2025-04-15\n")")));
    ASSERT_EQ(config.writes.size(), 1u);
    EXPECT_EQ(config.writes[0].value, "openjdk version \"17.0.15\" 2025-04-15 <BR> ");
}

TEST(CheckJavaVersionTest, OnlyOneQuoteIsRefused) {
    test::RecordingConfig config;
    test::RecordingPrompts prompts;
    EXPECT_FALSE(
        CheckJavaVersion(config, prompts, ChildCommand(R"("err=java version \"1.4.2\n")")));
    ASSERT_EQ(config.writes.size(), 1u);
    EXPECT_EQ(config.writes[0].value, "java version \"1.4.2 <BR> ");
}

TEST(CheckJavaVersionTest, NoOutputIsRefusedAndStoredEmpty) {
    test::RecordingConfig config;
    test::RecordingPrompts prompts;
    EXPECT_FALSE(CheckJavaVersion(config, prompts, ChildCommand("")));
    EXPECT_EQ(config.writes, (std::vector<ConfigWrite>{{"JAVA_VERSION", "VERSION", ""}}));
    EXPECT_TRUE(prompts.messages.empty());
}

TEST(CheckJavaVersionTest, MissingRuntimeIsShownStoredEmptyAndRefused) {
    test::RecordingConfig config;
    config.writes.push_back({"JAVA_VERSION", "VERSION", "earlier answer"});
    test::RecordingPrompts prompts;
    EXPECT_FALSE(CheckJavaVersion(config, prompts, "qvs-no-such-java-4711 -version"));
    EXPECT_EQ(prompts.messages, std::vector<std::string>{"Error executing command line"});
    ASSERT_EQ(config.writes.size(), 2u);
    EXPECT_EQ(config.writes[1], (ConfigWrite{"JAVA_VERSION", "VERSION", ""}));
}

TEST(CheckJavaVersionTest, ConfigurationThatCannotBeWrittenRefuses) {
    test::RecordingConfig config;
    config.failWrites = true;
    test::RecordingPrompts prompts;
    EXPECT_FALSE(
        CheckJavaVersion(config, prompts, ChildCommand(R"("err=java version \"1.8.0\"")")));
}

TEST(CheckJavaVersionTest, InstalledRuntime) {
    test::RecordingConfig config;
    test::RecordingPrompts prompts;
    const bool accepted = CheckJavaVersion(config, prompts);
    if (prompts.messages == std::vector<std::string>{"Error executing command line"}) {
        GTEST_SKIP() << kJavaVersionCommandLine << " is not on the PATH";
    }
    EXPECT_TRUE(prompts.messages.empty());
    ASSERT_EQ(config.writes.size(), 1u);
    const std::string& stored = config.writes[0].value;
    EXPECT_NE(stored.find(" version \""), std::string::npos) << stored;
    EXPECT_EQ(stored.find_first_of("\r\n"), std::string::npos) << stored;
    ASSERT_GE(stored.size(), 6u);
    EXPECT_EQ(stored.substr(stored.size() - 6), " <BR> ");
    // Every runtime still installed anywhere is newer than 1.3.
    EXPECT_TRUE(accepted) << stored;
}

struct OutputCase {
    const char* output;
    bool accepted;
};

class IsJavaVersionAcceptedTest : public testing::TestWithParam<OutputCase> {};

TEST_P(IsJavaVersionAcceptedTest, ParsesTheVersionNumbers) {
    EXPECT_EQ(IsJavaVersionAccepted(GetParam().output), GetParam().accepted) << GetParam().output;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, IsJavaVersionAcceptedTest,
    testing::Values(OutputCase{"", false}, OutputCase{"java version 1.4.2", false},
                    OutputCase{R"(java version "1.4)", false}, OutputCase{R"("1.4")", true},
                    OutputCase{R"("1.10.1")", true}, OutputCase{R"("2")", true},
                    OutputCase{R"("1.3")", false}, OutputCase{R"("1.0")", false},
                    // not a version: refused only for "1.0" to "1.3" anywhere
                    OutputCase{R"("1")", true}, OutputCase{R"("1.")", true},
                    OutputCase{R"("1.x")", true}, OutputCase{R"("0.9")", true},
                    OutputCase{R"("-11")", true}, OutputCase{R"(" 11")", true},
                    OutputCase{R"("v11")", true}, OutputCase{R"("")", true},
                    OutputCase{R"("99999999999999999999")", true}, OutputCase{R"("0.1.3")", false},
                    OutputCase{R"("v1.2")", false}, OutputCase{R"("1.x-1.1")", false},
                    OutputCase{R"("1.-5")", true},
                    // only the first quoted text counts
                    OutputCase{R"(x "1.3.1" y "17")", false},
                    OutputCase{R"(x "17" y "1.3.1")", true}));

TEST(QuotedVersionTextTest, TakesTheTextBetweenTheFirstTwoQuotes) {
    EXPECT_EQ(QuotedVersionText(R"(java version "1.4.2_03" <BR> )"), "1.4.2_03");
    EXPECT_EQ(QuotedVersionText(R"(""x")"), "");
    EXPECT_EQ(QuotedVersionText(R"(one " only)"), std::nullopt);
    EXPECT_EQ(QuotedVersionText("none"), std::nullopt);
}

} // namespace
} // namespace qvs
