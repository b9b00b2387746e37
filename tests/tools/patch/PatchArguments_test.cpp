// The command line the launcher hands to the patch program.
#include <gtest/gtest.h>

#include "PatchArguments.h"

namespace qvs {
namespace {

TEST(PatchArgumentsTest, ParsesOrRefuses) {
    // As split by the C runtime and as one text (a shell that passed it whole).
    const std::pair<std::vector<std::string>, std::uint32_t> valid[] = {
        {{"1234", "qvs"}, 1234}, {{" 1234 qvs"}, 1234}, {{"2147483647", "qvs"}, 2147483647u}};
    for (const auto& [args, processId] : valid) {
        const auto parsed = ParsePatchArguments(args);
        ASSERT_TRUE(parsed.has_value()) << args[0];
        EXPECT_EQ(parsed->processId, processId);
        EXPECT_EQ(parsed->shortName, "qvs");
    }
    EXPECT_EQ(ParsePatchArguments({"1", "Qvs_2-b"})->shortName, "Qvs_2-b");
    const std::vector<std::vector<std::string>> refused = {
        {},
        {"1234"},
        {"1234", "qvs", "extra"},
        {"0", "qvs"},
        {"-5", "qvs"},
        {"+5", "qvs"},
        {"12ab", "qvs"},
        {"2147483648", "qvs"},
        {"99999999999999999999", "qvs"},
        // The short name names files: no paths, no extensions, no blanks.
        {"1234", "../qvs"},
        {"1234", "sub\\qvs"},
        {"1234", "qvs.exe"},
        {"1234", "\"\""},
        {"1234", "q v s"},
        {"1234", std::string(33, 'q')}};
    for (const auto& args : refused) {
        EXPECT_FALSE(ParsePatchArguments(args).has_value()) << ::testing::PrintToString(args);
    }
}

} // namespace
} // namespace qvs
