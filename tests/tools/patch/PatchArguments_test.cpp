// The command line the launcher hands to the patch program.
#include <gtest/gtest.h>

#include "PatchArguments.h"

namespace qvs {
namespace {

struct ArgumentsCase {
    std::vector<std::string> args;
    bool valid;
    std::uint32_t processId;
    const char* shortName;
};

class PatchArgumentsTest : public testing::TestWithParam<ArgumentsCase> {};

TEST_P(PatchArgumentsTest, ParsesOrRefuses) {
    const ArgumentsCase& c = GetParam();
    const auto parsed = ParsePatchArguments(c.args);
    ASSERT_EQ(parsed.has_value(), c.valid);
    if (c.valid) {
        EXPECT_EQ(parsed->processId, c.processId);
        EXPECT_EQ(parsed->shortName, c.shortName);
    }
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, PatchArgumentsTest,
    testing::Values(
        // As split by the C runtime and as one text (a shell that passed it whole).
        ArgumentsCase{{"1234", "qvs"}, true, 1234, "qvs"},
        ArgumentsCase{{" 1234 qvs"}, true, 1234, "qvs"},
        ArgumentsCase{{"2147483647", "Qvs_2-b"}, true, 2147483647u, "Qvs_2-b"},
        ArgumentsCase{{}, false, 0, ""}, ArgumentsCase{{"1234"}, false, 0, ""},
        ArgumentsCase{{"1234", "qvs", "extra"}, false, 0, ""},
        ArgumentsCase{{"0", "qvs"}, false, 0, ""}, ArgumentsCase{{"-5", "qvs"}, false, 0, ""},
        ArgumentsCase{{"+5", "qvs"}, false, 0, ""}, ArgumentsCase{{"12ab", "qvs"}, false, 0, ""},
        ArgumentsCase{{"2147483648", "qvs"}, false, 0, ""},
        ArgumentsCase{{"99999999999999999999", "qvs"}, false, 0, ""},
        // The short name names files: no paths, no extensions, no blanks.
        ArgumentsCase{{"1234", "../qvs"}, false, 0, ""},
        ArgumentsCase{{"1234", "sub\\qvs"}, false, 0, ""},
        ArgumentsCase{{"1234", "qvs.exe"}, false, 0, ""},
        ArgumentsCase{{"1234", "\"\""}, false, 0, ""},
        ArgumentsCase{{"1234", "q v s"}, false, 0, ""},
        ArgumentsCase{{"1234", std::string(33, 'q')}, false, 0, ""}));

} // namespace
} // namespace qvs
