#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ChildCommand.h"
#include "platform/Process.h"

namespace qvs::platform {
namespace {

using Args = std::vector<std::string>;

TEST(SplitCommandLineTest, GivesTheArgumentsAWindowsProgramWouldSee) {
    const std::pair<const char*, Args> cases[] = {
        {"   \t ", {}},
        {"  a \t b  c  ", {"a", "b", "c"}},
        {R"(a"b c"d e)", {"ab cd", "e"}},
        {R"(a "" b)", {"a", "", "b"}},
        {R"("unclosed quote)", {"unclosed quote"}},
        {R"(a\\b\\)", {R"(a\\b\\)"}},
        {R"("a\\" b)", {R"(a\)", "b"}},
        {R"(a\\\"b)", {R"(a\"b)"}},
        {R"(x "out=java version \"1.4.2\"\n")", {"x", R"(out=java version "1.4.2"\n)"}}};
    for (const auto& [line, arguments] : cases) {
        EXPECT_EQ(SplitCommandLine(line), arguments) << line;
    }
}

// The child's own view of its arguments: on Windows its C runtime splits the
// command line, elsewhere our splitter builds the argument vector, with no
// shell to interpret anything.
TEST(SplitCommandLineTest, ChildReceivesTheSameArguments) {
    const CapturedOutput captured = RunCapturingOutput(
        test::ChildCommand(R"(args plain "two words" a"b c"d say\"hi\" x\\y "q\\" $HOME ; tail)"));
    EXPECT_EQ(captured.output, R"([plain][two words][ab cd][say"hi"][x\\y][q\][$HOME][;][tail])");
}

} // namespace
} // namespace qvs::platform
