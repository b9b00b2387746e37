#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "system/TextLines.h"

namespace qvs {
namespace {

using Lines = std::vector<std::string>;

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

} // namespace
} // namespace qvs
