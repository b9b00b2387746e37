#include <gtest/gtest.h>

#include "protocol/GameServerStatus.h"
#include "protocol/ProtocolError.h"
#include "protocol/UpdateFrame.h"
#include "support/Scramble.h"
#include "support/WireBytes.h"

namespace qvs {
namespace {

using test::Bytes;
using test::Content;
using test::Le32;
using test::StreamOf;
using test::Sz;

using test::ScrambledBlock;

std::string PlainStatus(std::int32_t people, std::int32_t mode, const std::string& title,
                        const std::string& html) {
    return Bytes({0x74}) + Le32(people) + Le32(mode) + Sz(title) + Sz(html);
}

TEST(StatusQuery, IsElevenBytesFromTheFirstDrawsOfTheUnseededGenerator) {
    // Key 0x8F: the low byte of the first draw (5 bits set). Length 0x77:
    // the second draw modulo 50 plus 75. Then 00 00 00 00 74, each XOR 0x8F.
    // Every query is the same, and the server recognises its body.
    for (int query = 0; query < 2; ++query) {
        const CStream frame = BuildStatusQuery();
        EXPECT_EQ(Content(frame), Bytes({0x07, 0, 0, 0, 0x8F, 0x77, 0x8F, 0x8F, 0x8F, 0x8F, 0xFB}));
        EXPECT_EQ(frame.Position(), 0u);
        CStream body = StreamOf(Content(frame).substr(4));
        EXPECT_TRUE(IsStatusQuery(body));
    }
}

TEST(StatusQuery, ServerRejectsOtherBodies) {
    CStream wrongTag = StreamOf(ScrambledBlock(0x0F, 75, Le32(0) + Bytes({0x75})));
    EXPECT_FALSE(IsStatusQuery(wrongTag));
    CStream nonZero = StreamOf(ScrambledBlock(0x0F, 75, Le32(1) + Bytes({0x74})));
    EXPECT_FALSE(IsStatusQuery(nonZero));
    CStream cut = StreamOf(ScrambledBlock(0x0F, 75, Le32(0)));
    EXPECT_THROW(IsStatusQuery(cut), StreamReadError);
}

TEST(StatusReply, BadBodiesFail) {
    CStream noStrings = StreamOf(ScrambledBlock(0x0F, 75, Bytes({0x74}) + Le32(0) + Le32(0)));
    EXPECT_EQ(ParseStatusReply(noStrings).noticeHtml, ""); // missing strings read as empty
    for (const int tag : {0x00, 0x73, 0x75, 0xF4}) {
        CStream body =
            StreamOf(ScrambledBlock(0x0F, 75, Bytes({tag}) + Le32(5) + Le32(0) + Sz("") + Sz("")));
        EXPECT_THROW(ParseStatusReply(body), ProtocolError) << tag;
    }
    const std::string plain = PlainStatus(7, 0, "", "");
    for (const std::size_t keep : {0u, 1u, 4u, 5u, 8u}) {
        CStream body =
            StreamOf(keep == 0 ? std::string() : ScrambledBlock(0x0F, 75, plain.substr(0, keep)));
        EXPECT_THROW(ParseStatusReply(body), StreamReadError) << keep;
    }
    // Unscrambled, the plain bytes read as key 0x74 and length 7: too few.
    CStream unscrambled = StreamOf(PlainStatus(7, 0, "t", "h"));
    EXPECT_THROW(ParseStatusReply(unscrambled), StreamReadError);
}

TEST(StatusReply, FrameCarriesTheScrambledLengthAndRoundTrips) {
    const StatusReply sent{250, 2, "Down for maintenance", "<html>back at 18:00</html>"};
    const std::string frame = Content(BuildStatusReply(sent));
    const std::string plain = PlainStatus(250, 2, sent.noticeTitle, sent.noticeHtml);
    ASSERT_EQ(frame.size(), 4 + plain.size() + 2); // one block
    EXPECT_EQ(frame.substr(0, 4), Le32(static_cast<std::int32_t>(plain.size() + 2)));
    CStream body = StreamOf(frame.substr(4));
    const StatusReply got = ParseStatusReply(body);
    EXPECT_EQ(got.peopleOnline, sent.peopleOnline);
    EXPECT_EQ(got.noticeMode, sent.noticeMode);
    EXPECT_EQ(got.noticeTitle, sent.noticeTitle);
    EXPECT_EQ(got.noticeHtml, sent.noticeHtml);
}

TEST(GameFrameLength, AcceptsZeroToTheLimitAndRefusesTheRest) {
    for (const std::int32_t length : {0, 11, MaxPayloadLength}) {
        const std::string bytes = Le32(length);
        EXPECT_EQ(ParseGameFrameLength(test::AsBytes(bytes)), length);
    }
    for (const std::int32_t length : {MaxPayloadLength + 1, -1, INT32_MIN}) {
        const std::string bytes = Le32(length);
        EXPECT_THROW(ParseGameFrameLength(test::AsBytes(bytes)), ProtocolError) << length;
    }
    const std::string cut = Bytes({7, 0, 0});
    EXPECT_THROW(ParseGameFrameLength(test::AsBytes(cut)), ProtocolError);
}

} // namespace
} // namespace qvs
