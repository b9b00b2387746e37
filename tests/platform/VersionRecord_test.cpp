#include <gtest/gtest.h>

#include "platform/FileVersion.h"
#include "platform/VersionRecord.h"

namespace qvs::platform {
namespace {

using V = FileVersion;

TEST(VersionText, SplitsAtFullStops) {
    const std::pair<const char*, FileVersion> cases[] = {
        {"1.2.10.0", V{1, 2, 10, 0}},
        {"2.1", V{2, 0, 0, 0}},
        {"", V{0, 0, 0, 0}},
        {"10.20.30.2147483647", V{10, 20, 30, 2147483647}},
        {"+3.-4.5.6", V{3, -4, 5, 6}},
        // Pieces that are not decimal numbers give 0 on their own.
        {"1..3.4", V{1, 0, 3, 4}},
        {"1.2 .3.4", V{1, 0, 3, 4}},
        {"1.2.3.4.5", V{1, 2, 3, 0}},
        {"1.2.3.99999999999", V{1, 2, 3, 0}},
        {"0x1.2.3.4", V{0, 2, 3, 4}},
        {"+-1.2.3.4", V{0, 2, 3, 4}}};
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(ParseVersionText(text), expected) << text;
    }
}

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

TEST(VersionRecordSearch, FindsWellFormedRecordsAndSkipsDamagedOnesAndTheBareTag) {
    EXPECT_EQ(FindVersionRecord("MZ\x90" + Record("1.2.10.0") + "rest"), "1.2.10.0");
    const std::string tag(VersionRecordTag);
    const std::string bytes = tag + '\0' +             // the searcher's own copy
                              tag + "1.2\x01" + '\0' + // a control character
                              tag + std::string(MaxVersionTextLength + 1, '9') + '\0' + // too long
                              Record("3.4.5.6");
    EXPECT_EQ(FindVersionRecord(bytes), "3.4.5.6");
    const std::string longest(MaxVersionTextLength, '9');
    EXPECT_EQ(FindVersionRecord(Record(longest)), longest);
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
    constexpr VersionRecord longest = MakeVersionRecord(INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN);
    EXPECT_EQ(FindVersionRecord(std::string(longest.begin(), longest.end())),
              "-2147483648.-2147483648.-2147483648.-2147483648");
}

} // namespace
} // namespace qvs::platform
