// The messages of the update server and of the game server, byte for byte.
#include <gtest/gtest.h>

#include "protocol/GameServerStatus.h"
#include "protocol/ProtocolError.h"
#include "protocol/UpdateFrame.h"
#include "protocol/UpdateReplies.h"
#include "protocol/UpdateRequests.h"
#include "support/Scramble.h"
#include "support/WireBytes.h"

namespace qvs {
namespace {

using test::Bytes;
using test::Content;
using test::Le32;
using test::ScrambledBlock;
using test::StreamOf;
using test::Sz;

TEST(UpdateMessages, RequestsAndRepliesMatchTheWireLayout) {
    const struct {
        const char* name;
        CStream message;
        std::string expected;
    } cases[] = {
        {"ping request", BuildPingRequest(), std::string(8, '\0')},
        {"latest version request", BuildGetLatestVersionRequest("qvsc"),
         Bytes({1, 0, 0, 0, 5, 0, 0, 0, 0x71, 0x76, 0x73, 0x63, 0})},
        {"file request", BuildRequestECDFileRequest("qvs", -1),
         Bytes({2, 0, 0, 0, 8, 0, 0, 0, 0x71, 0x76, 0x73, 0, 0xFF, 0xFF, 0xFF, 0xFF})},
        {"current file version request", BuildGetCurrentFileVersionRequest("qvs.exe"),
         Bytes({3, 0, 0, 0, 8, 0, 0, 0, 'q', 'v', 's', '.', 'e', 'x', 'e', 0})},
        {"web file request", BuildDownloadWebFileRequest("qvs.exe"),
         Bytes({4, 0, 0, 0, 8, 0, 0, 0, 'q', 'v', 's', '.', 'e', 'x', 'e', 0})},
        {"ping reply", BuildPingReply("10.0.0.7"), Le32(0) + Le32(9) + Sz("10.0.0.7")},
        {"latest version reply", BuildGetLatestVersionReply("qvs", 17),
         Le32(1) + Le32(8) + Sz("qvs") + Le32(17)},
        {"file reply", BuildRequestECDFileReply("qvs", 3, "qvs3.ecd", Bytes({0, 0xAB})),
         Le32(2) + Le32(23) + Sz("qvs") + Le32(3) + Sz("qvs3.ecd") + Le32(2) + Bytes({0, 0xAB})},
        {"current file version reply", BuildGetCurrentFileVersionReply({1, 2, 10, 0}),
         Le32(3) + Le32(16) + Le32(1) + Le32(2) + Le32(10) + Le32(0)},
        {"web file reply", BuildDownloadWebFileReply(Bytes({'M', 'Z', 0})),
         Le32(4) + Le32(3) + Bytes({'M', 'Z', 0})},
        {"empty web file reply", BuildDownloadWebFileReply(""), Le32(4) + Le32(0)},
    };
    for (const auto& item : cases) {
        EXPECT_EQ(Content(item.message), item.expected) << item.name;
        EXPECT_EQ(item.message.Position(), 0u) << item.name;
    }
}

// Update messages and game frames share the length field and its limit.
TEST(FrameLengths, AcceptZeroToTheLimitAndRefuseTheRest) {
    for (const std::int32_t length : {0, 0x01020304, MaxPayloadLength}) {
        const std::string bytes = Le32(-7) + Le32(length); // an unknown type is the caller's
        const MessageHeader header = ParseMessageHeader(test::AsBytes(bytes));
        EXPECT_EQ(header.type, -7);
        EXPECT_EQ(header.length, length);
        EXPECT_EQ(ParseGameFrameLength(test::AsBytes(bytes.substr(4))), length);
    }
    for (const std::int32_t length : {MaxPayloadLength + 1, 0x7FFFFFFF, -1, INT32_MIN}) {
        const std::string bytes = Le32(1) + Le32(length);
        EXPECT_THROW(ParseMessageHeader(test::AsBytes(bytes)), ProtocolError) << length;
        EXPECT_THROW(ParseGameFrameLength(test::AsBytes(bytes.substr(4))), ProtocolError);
    }
    const std::string cut = Le32(1) + Bytes({0, 0, 0});
    EXPECT_THROW(ParseMessageHeader(test::AsBytes(cut)), ProtocolError);
    EXPECT_THROW(ParseGameFrameLength(test::AsBytes(cut.substr(4))), ProtocolError);
    EXPECT_NO_THROW(CheckReplyType({4, 9}, MessageType::DownloadWebFile));
    EXPECT_THROW(CheckReplyType({1, 0}, MessageType::Ping), ProtocolError);
    EXPECT_THROW(CheckReplyType({0, 0}, MessageType::GetLatestVersion), ProtocolError);
}

TEST(UpdateReplies, ReadTheirFieldsAndFailWhenTheyAreCut) {
    CStream ping = StreamOf(Sz("192.168.1.20"));
    EXPECT_EQ(ParsePingReply(ping), "192.168.1.20");
    CStream empty;
    EXPECT_EQ(ParsePingReply(empty), "");
    CStream latest = StreamOf(Sz("qvsc") + Le32(42));
    const LatestVersionReply reply = ParseGetLatestVersionReply(latest);
    EXPECT_EQ(reply.itemName, "qvsc");
    EXPECT_EQ(reply.version, 42);
    CStream version = StreamOf(Le32(1) + Le32(2) + Le32(9) + Le32(99));
    EXPECT_EQ(ParseGetCurrentFileVersionReply(version), (platform::FileVersion{1, 2, 9, 99}));
    for (const std::string& bytes : {Sz("qvs"), Sz("qvs") + Bytes({1, 0, 0}), std::string()}) {
        CStream payload = StreamOf(bytes);
        EXPECT_THROW(ParseGetLatestVersionReply(payload), StreamReadError);
    }
    CStream cutVersion = StreamOf(Le32(1) + Le32(2) + Le32(9) + Bytes({99, 0, 0}));
    EXPECT_THROW(ParseGetCurrentFileVersionReply(cutVersion), StreamReadError);
    for (const std::string& bytes : {Sz("q") + Le32(1) + Sz("f"), // no length field
                                     Sz("q") + Le32(1) + Sz("f") + Le32(5) + "abcd",
                                     Sz("q") + Le32(1) + Sz("f") + Le32(-1) + "abcd",
                                     Sz("q") + Le32(1) + Sz("f") + Le32(INT32_MIN) + "abcd"}) {
        CStream payload = StreamOf(bytes);
        EXPECT_THROW(ParseRequestECDFileReply(payload), StreamReadError);
    }
}

TEST(ECDFileReply, ReadsAllFieldsAndExactlyTheAnnouncedBytes) {
    const std::string file = Bytes({0x10, 0, 0xFF, 0x7F});
    const std::string bytes = Sz("qvs") + Le32(12) + Sz("qvs12.ecd") + Le32(4) + file;
    // Where the file starts is known as soon as its fields have arrived,
    // the zero bytes of the version notwithstanding.
    const std::size_t start = bytes.size() - file.size();
    for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
        EXPECT_EQ(ECDFileReplyFileStart(std::string_view(bytes).substr(0, cut)),
                  cut < start ? std::nullopt : std::optional(start))
            << cut;
    }
    CStream payload = StreamOf(bytes + "tail");
    const ECDFileReply reply = ParseRequestECDFileReply(payload);
    EXPECT_EQ(reply.itemName, "qvs");
    EXPECT_EQ(reply.version, 12);
    EXPECT_EQ(reply.fileName, "qvs12.ecd");
    EXPECT_EQ(Content(reply.file), file);
    EXPECT_EQ(reply.file.Position(), 0u);
    CStream none = StreamOf(Sz("qvsc") + Le32(3) + Sz("qvsc.ecd") + Le32(0) + "tail");
    EXPECT_EQ(ParseRequestECDFileReply(none).file.Size(), 0u);
}

std::string PlainStatus(std::int32_t people, std::int32_t mode, const std::string& title,
                        const std::string& html) {
    return Bytes({0x74}) + Le32(people) + Le32(mode) + Sz(title) + Sz(html);
}

TEST(StatusQuery, IsElevenBytesFromTheFirstDrawsOfTheUnseededGenerator) {
    // Key 0x8F: the low byte of the first draw (5 bits set). Length 0x77:
    // the second draw modulo 50 plus 75. Then 00 00 00 00 74, each XOR 0x8F.
    // Every query is the same, and the server recognises its body, no other.
    for (int query = 0; query < 2; ++query) {
        const CStream frame = BuildStatusQuery();
        EXPECT_EQ(Content(frame), Bytes({0x07, 0, 0, 0, 0x8F, 0x77, 0x8F, 0x8F, 0x8F, 0x8F, 0xFB}));
        EXPECT_EQ(frame.Position(), 0u);
        CStream body = StreamOf(Content(frame).substr(4));
        EXPECT_TRUE(IsStatusQuery(body));
    }
    for (const std::string& plain : {Le32(0) + Bytes({0x75}), Le32(1) + Bytes({0x74})}) {
        CStream other = StreamOf(ScrambledBlock(0x0F, 75, plain));
        EXPECT_FALSE(IsStatusQuery(other));
    }
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

} // namespace
} // namespace qvs
