#include <gtest/gtest.h>

#include "protocol/ProtocolError.h"
#include "protocol/UpdateFrame.h"
#include "protocol/UpdateReplies.h"
#include "protocol/UpdateRequests.h"
#include "support/WireBytes.h"

namespace qvs {
namespace {

using test::Bytes;
using test::Content;
using test::Le32;
using test::StreamOf;
using test::Sz;

struct WireCase {
    const char* name;
    CStream (*build)();
    std::string expected;
};

class RequestBytes : public ::testing::TestWithParam<WireCase> {};

TEST_P(RequestBytes, MatchTheWireLayout) {
    const CStream message = GetParam().build();
    EXPECT_EQ(Content(message), GetParam().expected);
    EXPECT_EQ(message.Position(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    AllTypes, RequestBytes,
    ::testing::Values(
        WireCase{"Ping", [] { return BuildPingRequest(); }, std::string(8, '\0')},
        WireCase{"LatestData", [] { return BuildGetLatestVersionRequest("qvs"); },
                 Bytes({1, 0, 0, 0, 4, 0, 0, 0, 0x71, 0x76, 0x73, 0})},
        WireCase{"LatestClientCode", [] { return BuildGetLatestVersionRequest("qvsc"); },
                 Bytes({1, 0, 0, 0, 5, 0, 0, 0, 0x71, 0x76, 0x73, 0x63, 0})},
        WireCase{"EmptyItemName", [] { return BuildGetLatestVersionRequest(""); },
                 Bytes({1, 0, 0, 0, 1, 0, 0, 0, 0})},
        WireCase{"ECDFile", [] { return BuildRequestECDFileRequest("qvsc", 12); },
                 Bytes({2, 0, 0, 0, 9, 0, 0, 0, 0x71, 0x76, 0x73, 0x63, 0, 12, 0, 0, 0})},
        WireCase{"ECDFileNegativeVersion", [] { return BuildRequestECDFileRequest("qvs", -1); },
                 Bytes({2, 0, 0, 0, 8, 0, 0, 0, 0x71, 0x76, 0x73, 0, 0xFF, 0xFF, 0xFF, 0xFF})},
        WireCase{"CurrentFileVersion", [] { return BuildGetCurrentFileVersionRequest("qvs.exe"); },
                 Bytes({3, 0, 0, 0, 8, 0, 0, 0, 'q', 'v', 's', '.', 'e', 'x', 'e', 0})},
        WireCase{"DownloadWebFile", [] { return BuildDownloadWebFileRequest("qvs.exe"); },
                 Bytes({4, 0, 0, 0, 8, 0, 0, 0, 'q', 'v', 's', '.', 'e', 'x', 'e', 0})}),
    [](const auto& info) { return std::string(info.param.name); });

class ReplyBytes : public ::testing::TestWithParam<WireCase> {};

TEST_P(ReplyBytes, MatchTheWireLayout) {
    const CStream message = GetParam().build();
    EXPECT_EQ(Content(message), GetParam().expected);
    EXPECT_EQ(message.Position(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    AllTypes, ReplyBytes,
    ::testing::Values(
        WireCase{"Ping", [] { return BuildPingReply("10.0.0.7"); },
                 Le32(0) + Le32(9) + Sz("10.0.0.7")},
        WireCase{"PingEmpty", [] { return BuildPingReply(""); }, Le32(0) + Le32(1) + Sz("")},
        WireCase{"LatestVersion", [] { return BuildGetLatestVersionReply("qvs", 17); },
                 Le32(1) + Le32(8) + Sz("qvs") + Le32(17)},
        WireCase{"ECDFile",
                 [] {
                     return BuildRequestECDFileReply("qvs", 3, "qvs3.ecd", Bytes({0, 0xAB}));
                 },
                 Le32(2) + Le32(23) + Sz("qvs") + Le32(3) + Sz("qvs3.ecd") + Le32(2) +
                     Bytes({0, 0xAB})},
        WireCase{"ECDFileEmpty", [] { return BuildRequestECDFileReply("qvsc", 0, "", ""); },
                 Le32(2) + Le32(14) + Sz("qvsc") + Le32(0) + Sz("") + Le32(0)},
        WireCase{"CurrentFileVersion",
                 [] {
                     return BuildGetCurrentFileVersionReply({1, 2, 10, 0});
                 },
                 Le32(3) + Le32(16) + Le32(1) + Le32(2) + Le32(10) + Le32(0)},
        WireCase{"DownloadWebFile",
                 [] {
                     return BuildDownloadWebFileReply(Bytes({'M', 'Z', 0}));
                 },
                 Le32(4) + Le32(3) + Bytes({'M', 'Z', 0})},
        WireCase{"DownloadWebFileEmpty", [] { return BuildDownloadWebFileReply(""); },
                 Le32(4) + Le32(0)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MessageHeader, ReadsTypeAndLength) {
    const std::string bytes = Le32(3) + Le32(0x01020304);
    const MessageHeader header = ParseMessageHeader(test::AsBytes(bytes));
    EXPECT_EQ(header.type, 3);
    EXPECT_EQ(header.length, 0x01020304);
}

TEST(MessageHeader, KeepsAnUnknownTypeForTheCaller) {
    const std::string bytes = Le32(-7) + Le32(0);
    EXPECT_EQ(ParseMessageHeader(test::AsBytes(bytes)).type, -7);
}

TEST(MessageHeader, AcceptsLengthsUpToTheLimit) {
    for (const std::int32_t length : {0, 1, MaxPayloadLength}) {
        const std::string bytes = Le32(1) + Le32(length);
        EXPECT_EQ(ParseMessageHeader(test::AsBytes(bytes)).length, length);
    }
}

TEST(MessageHeader, RefusesLengthsBeyondTheLimitOrNegative) {
    for (const std::int32_t length : {MaxPayloadLength + 1, 0x7FFFFFFF, -1, INT32_MIN}) {
        const std::string bytes = Le32(1) + Le32(length);
        EXPECT_THROW(ParseMessageHeader(test::AsBytes(bytes)), ProtocolError) << length;
    }
}

TEST(MessageHeader, RefusesAShortHeader) {
    const std::string bytes = Le32(1) + Bytes({0, 0, 0});
    EXPECT_THROW(ParseMessageHeader(test::AsBytes(bytes)), ProtocolError);
}

TEST(ReplyType, MustEqualTheRequestType) {
    EXPECT_NO_THROW(CheckReplyType({0, 0}, MessageType::Ping));
    EXPECT_NO_THROW(CheckReplyType({4, 9}, MessageType::DownloadWebFile));
    EXPECT_THROW(CheckReplyType({1, 0}, MessageType::Ping), ProtocolError);
    EXPECT_THROW(CheckReplyType({0, 0}, MessageType::GetLatestVersion), ProtocolError);
}

TEST(PingReply, ReadsTheAddress) {
    CStream payload = StreamOf(Sz("192.168.1.20"));
    EXPECT_EQ(ParsePingReply(payload), "192.168.1.20");
}

TEST(PingReply, EmptyStringAndEmptyPayloadGiveEmptyText) {
    CStream zero = StreamOf(Sz(""));
    EXPECT_EQ(ParsePingReply(zero), "");
    CStream empty;
    EXPECT_EQ(ParsePingReply(empty), "");
}

TEST(LatestVersionReply, ReadsNameAndVersion) {
    CStream payload = StreamOf(Sz("qvsc") + Le32(42));
    const LatestVersionReply reply = ParseGetLatestVersionReply(payload);
    EXPECT_EQ(reply.itemName, "qvsc");
    EXPECT_EQ(reply.version, 42);
}

TEST(LatestVersionReply, FailsWhenTheVersionIsMissingOrCut) {
    for (const std::string& bytes : {Sz("qvs"), Sz("qvs") + Bytes({1, 0, 0}), std::string()}) {
        CStream payload = StreamOf(bytes);
        EXPECT_THROW(ParseGetLatestVersionReply(payload), StreamReadError);
    }
}

TEST(CurrentFileVersionReply, ReadsFourNumbersInOrder) {
    CStream payload = StreamOf(Le32(1) + Le32(2) + Le32(9) + Le32(99));
    const platform::FileVersion version = ParseGetCurrentFileVersionReply(payload);
    EXPECT_EQ(version, (platform::FileVersion{1, 2, 9, 99}));
}

TEST(CurrentFileVersionReply, FailsWhenANumberIsCut) {
    CStream payload = StreamOf(Le32(1) + Le32(2) + Le32(9) + Bytes({99, 0, 0}));
    EXPECT_THROW(ParseGetCurrentFileVersionReply(payload), StreamReadError);
}

TEST(ECDFileReply, ReadsAllFieldsAndTheFileBytes) {
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
    CStream payload = StreamOf(bytes);
    const ECDFileReply reply = ParseRequestECDFileReply(payload);
    EXPECT_EQ(reply.itemName, "qvs");
    EXPECT_EQ(reply.version, 12);
    EXPECT_EQ(reply.fileName, "qvs12.ecd");
    EXPECT_EQ(Content(reply.file), file);
    EXPECT_EQ(reply.file.Position(), 0u);
}

TEST(ECDFileReply, ZeroLengthGivesAnEmptyFileEvenWithBytesAfter) {
    CStream payload = StreamOf(Sz("qvsc") + Le32(3) + Sz("qvsc.ecd") + Le32(0) + "tail");
    EXPECT_EQ(ParseRequestECDFileReply(payload).file.Size(), 0u);
}

TEST(ECDFileReply, TakesExactlyTheAnnouncedBytes) {
    CStream payload = StreamOf(Sz("q") + Le32(1) + Sz("f") + Le32(2) + "abcd");
    EXPECT_EQ(Content(ParseRequestECDFileReply(payload).file), "ab");
}

TEST(ECDFileReply, FailsWhenTheFileIsShorterThanAnnouncedOrTheLengthIsNegative) {
    for (const std::int32_t length : {5, -1, INT32_MIN}) {
        CStream payload = StreamOf(Sz("q") + Le32(1) + Sz("f") + Le32(length) + "abcd");
        EXPECT_THROW(ParseRequestECDFileReply(payload), StreamReadError) << length;
    }
}

TEST(ECDFileReply, FailsWhenTheLengthFieldIsMissing) {
    CStream payload = StreamOf(Sz("q") + Le32(1) + Sz("f"));
    EXPECT_THROW(ParseRequestECDFileReply(payload), StreamReadError);
}

TEST(UpdateRequestParsing, ReadsTheFieldsOfEachType) {
    CStream latest = StreamOf(Sz("qvsc"));
    const UpdateRequest a = ParseUpdateRequest(1, latest);
    EXPECT_EQ(a.type, MessageType::GetLatestVersion);
    EXPECT_EQ(a.name, "qvsc");

    CStream ecd = StreamOf(Sz("qvs") + Le32(7));
    const UpdateRequest b = ParseUpdateRequest(2, ecd);
    EXPECT_EQ(b.type, MessageType::RequestECDFile);
    EXPECT_EQ(b.name, "qvs");
    EXPECT_EQ(b.version, 7);

    CStream ping;
    EXPECT_EQ(ParseUpdateRequest(0, ping).type, MessageType::Ping);

    CStream exe = StreamOf(Sz("qvs.exe"));
    EXPECT_EQ(ParseUpdateRequest(4, exe).name, "qvs.exe");
}

TEST(UpdateRequestParsing, RoundTripsWhatTheLauncherBuilds) {
    CStream message = BuildRequestECDFileRequest("qvsc", 31);
    const MessageHeader header = ParseMessageHeader(
        std::as_bytes(std::span(reinterpret_cast<const char*>(message.Data()), message.Size())));
    message.SetPosition(ReplyHeaderSize);
    const UpdateRequest request = ParseUpdateRequest(header.type, message);
    EXPECT_EQ(request.name, "qvsc");
    EXPECT_EQ(request.version, 31);
    EXPECT_EQ(message.Remaining(), 0u);
}

TEST(UpdateRequestParsing, RefusesUnknownTypesAndShortPayloads) {
    CStream any = StreamOf(Sz("x"));
    EXPECT_THROW(ParseUpdateRequest(5, any), ProtocolError);
    EXPECT_THROW(ParseUpdateRequest(-1, any), ProtocolError);
    CStream cut = StreamOf(Sz("qvs") + Bytes({7, 0}));
    EXPECT_THROW(ParseUpdateRequest(2, cut), StreamReadError);
}

} // namespace
} // namespace qvs
