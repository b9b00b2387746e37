#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ChildCommand.h"
#include "platform/Process.h"

namespace qvs::platform {
namespace {

struct SplitCase {
    const char* line;
    std::vector<std::string> arguments;
};

class SplitCommandLineTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitCommandLineTest, GivesTheArgumentsAWindowsProgramWouldSee) {
    EXPECT_EQ(SplitCommandLine(GetParam().line), GetParam().arguments);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, SplitCommandLineTest,
    testing::Values(
        SplitCase{"", {}}, SplitCase{"   \t ", {}},
        SplitCase{"java -version", {"java", "-version"}},
        SplitCase{"  a \t b  c  ", {"a", "b", "c"}}, SplitCase{R"("a b" c)", {"a b", "c"}},
        SplitCase{R"(a"b c"d e)", {"ab cd", "e"}}, SplitCase{R"(a "" b)", {"a", "", "b"}},
        SplitCase{R"("unclosed quote)", {"unclosed quote"}},
        SplitCase{R"(say \"hi\")", {"say", "\"hi\""}},
        SplitCase{R"(C:\dir\file.exe x)", {R"(C:\dir\file.exe)", "x"}},
        SplitCase{R"(a\\b\\)", {R"(a\\b\\)"}}, SplitCase{R"("a\\" b)", {R"(a\)", "b"}},
        SplitCase{R"(a\\\"b)", {R"(a\"b)"}},
        SplitCase{R"(sh -c "printf out; printf err >&2")",
                  {"sh", "-c", "printf out; printf err >&2"}},
        SplitCase{R"(x "out=java version \"1.4.2\"\n")", {"x", R"(out=java version "1.4.2"\n)"}}));

// The child's own view of its arguments: on Windows its C runtime splits the
// command line, elsewhere our splitter builds the argument vector. Both must
// agree with the rules above.
TEST(SplitCommandLineTest, ChildReceivesTheSameArguments) {
    const std::string arguments = R"(plain "two words" a"b c"d say\"hi\" x\\y "q\\" tail)";
    const CapturedOutput captured = RunCapturingOutput(test::ChildCommand("args " + arguments));
    std::string expected;
    for (const std::string& argument : SplitCommandLine(arguments)) {
        expected += "[" + argument + "]";
    }
    EXPECT_EQ(captured.output, expected);
    EXPECT_EQ(captured.output, R"([plain][two words][ab cd][say"hi"][x\\y][q\][tail])");
}

} // namespace
} // namespace qvs::platform
