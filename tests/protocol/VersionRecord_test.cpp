#include <gtest/gtest.h>

#include "platform/FileVersion.h"
#include "platform/VersionRecord.h"

namespace qvs::platform {
namespace {

using V = FileVersion;

struct TextCase {
    const char* text;
    FileVersion expected;
};

class VersionText : public ::testing::TestWithParam<TextCase> {};

TEST_P(VersionText, SplitsAtFullStops) {
    EXPECT_EQ(ParseVersionText(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, VersionText,
    ::testing::Values(TextCase{"1.2.10.0", V{1, 2, 10, 0}}, TextCase{"2.1", V{2, 0, 0, 0}},
                      TextCase{"7", V{0, 0, 0, 0}}, TextCase{"", V{0, 0, 0, 0}},
                      TextCase{"1.2.3", V{1, 2, 0, 0}}, TextCase{"1.0.0.5", V{1, 0, 0, 5}},
                      TextCase{"10.20.30.2147483647", V{10, 20, 30, 2147483647}},
                      TextCase{"+3.-4.5.6", V{3, -4, 5, 6}},
                      // Pieces that are not decimal numbers give 0 on their own.
                      TextCase{"1.x.3.4", V{1, 0, 3, 4}}, TextCase{"1..3.4", V{1, 0, 3, 4}},
                      TextCase{"1.2 .3.4", V{1, 0, 3, 4}}, TextCase{"1.2.3.4 ", V{1, 2, 3, 0}},
                      TextCase{"1.2.3.4.5", V{1, 2, 3, 0}},
                      TextCase{"1.2.3.99999999999", V{1, 2, 3, 0}},
                      TextCase{"0x1.2.3.4", V{0, 2, 3, 4}}, TextCase{"+-1.2.3.4", V{0, 2, 3, 4}}));

TEST(FileVersionOrder, ComparesMajorMinorReleaseBuildInOrder) {
    EXPECT_FALSE((V{1, 0, 0, 5}) > (V{1, 0, 0, 5}));
    EXPECT_TRUE((V{2, 0, 0, 0}) > (V{1, 9, 9, 9}));
    EXPECT_FALSE((V{1, 0, 0, 4}) > (V{1, 0, 0, 5}));
    EXPECT_FALSE((V{1, 2, 9, 99}) > (V{1, 2, 10, 0}));
    EXPECT_TRUE((V{1, 3, 0, 0}) > (V{1, 2, 10, 0}));
    EXPECT_TRUE((V{0, 0, 0, 1}) > (V{0, 0, 0, 0}));
}

std::string Record(const std::string& text) {
    return std::string(VersionRecordTag) + text + '\0';
}

TEST(VersionRecordSearch, FindsTheTextOfAWellFormedRecord) {
    EXPECT_EQ(FindVersionRecord("MZ\x90" + Record("1.2.10.0") + "rest"), "1.2.10.0");
}

TEST(VersionRecordSearch, SkipsDamagedRecordsAndTheBareTag) {
    const std::string tag(VersionRecordTag);
    const std::string bytes = tag + '\0' +             // the searcher's own copy
                              tag + "1.2\x01" + '\0' + // a control character
                              tag + std::string(MaxVersionTextLength + 1, '9') + '\0' + // too long
                              Record("3.4.5.6");
    EXPECT_EQ(FindVersionRecord(bytes), "3.4.5.6");
}

TEST(VersionRecordSearch, NothingWithoutAWellFormedRecord) {
    const std::string tag(VersionRecordTag);
    EXPECT_EQ(FindVersionRecord(""), std::nullopt);
    EXPECT_EQ(FindVersionRecord("no record here"), std::nullopt);
    EXPECT_EQ(FindVersionRecord(tag + "1.2.3.4"), std::nullopt); // no terminator
    EXPECT_EQ(FindVersionRecord(tag.substr(0, 10) + "1.2.3.4" + '\0'), std::nullopt);
}

TEST(VersionRecordMaking, WritesTagTextAndZeroPadding) {
    constexpr VersionRecord record = MakeVersionRecord(1, 0, 12, 345);
    const std::string bytes(record.begin(), record.end());
    EXPECT_EQ(bytes.substr(0, VersionRecordTag.size()), VersionRecordTag);
    EXPECT_EQ(FindVersionRecord(bytes), "1.0.12.345");
    EXPECT_EQ(bytes.size(), VersionRecordSize);
    EXPECT_EQ(bytes.back(), '\0');
}

TEST(VersionRecordMaking, LongestNumbersStillFit) {
    constexpr VersionRecord record = MakeVersionRecord(INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN);
    const std::string bytes(record.begin(), record.end());
    EXPECT_EQ(FindVersionRecord(bytes), "-2147483648.-2147483648.-2147483648.-2147483648");
}

} // namespace
} // namespace qvs::platform
