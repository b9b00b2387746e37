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

TEST(MessageHeader, ReadsTypeAndLengthUpToTheLimit) {
    for (const std::int32_t length : {0, 0x01020304, MaxPayloadLength}) {
        const std::string bytes = Le32(-7) + Le32(length); // an unknown type is the caller's
        const MessageHeader header = ParseMessageHeader(test::AsBytes(bytes));
        EXPECT_EQ(header.type, -7);
        EXPECT_EQ(header.length, length);
    }
    for (const std::int32_t length : {MaxPayloadLength + 1, 0x7FFFFFFF, -1, INT32_MIN}) {
        const std::string bytes = Le32(1) + Le32(length);
        EXPECT_THROW(ParseMessageHeader(test::AsBytes(bytes)), ProtocolError) << length;
    }
    const std::string cut = Le32(1) + Bytes({0, 0, 0});
    EXPECT_THROW(ParseMessageHeader(test::AsBytes(cut)), ProtocolError);
    EXPECT_NO_THROW(CheckReplyType({4, 9}, MessageType::DownloadWebFile));
    EXPECT_THROW(CheckReplyType({1, 0}, MessageType::Ping), ProtocolError);
    EXPECT_THROW(CheckReplyType({0, 0}, MessageType::GetLatestVersion), ProtocolError);
}

TEST(UpdateReplies, ReadTheirFields) {
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
}

TEST(UpdateReplies, CutFieldsFail) {
    for (const std::string& bytes : {Sz("qvs"), Sz("qvs") + Bytes({1, 0, 0}), std::string()}) {
        CStream payload = StreamOf(bytes);
        EXPECT_THROW(ParseGetLatestVersionReply(payload), StreamReadError);
    }
    CStream version = StreamOf(Le32(1) + Le32(2) + Le32(9) + Bytes({99, 0, 0}));
    EXPECT_THROW(ParseGetCurrentFileVersionReply(version), StreamReadError);
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

TEST(UpdateRequestParsing, ReadsWhatTheLauncherBuilds) {
    for (const auto& [sent, name, version] :
         {std::tuple{BuildRequestECDFileRequest("qvsc", 31), "qvsc", 31},
          std::tuple{BuildGetLatestVersionRequest("qvs"), "qvs", 0},
          std::tuple{BuildDownloadWebFileRequest("qvs.exe"), "qvs.exe", 0},
          std::tuple{BuildPingRequest(), "", 0}}) {
        CStream message = sent;
        const MessageHeader header = ParseMessageHeader(test::AsBytes(Content(message)));
        message.SetPosition(ReplyHeaderSize);
        const UpdateRequest request = ParseUpdateRequest(header.type, message);
        EXPECT_EQ(static_cast<int>(request.type), header.type);
        EXPECT_EQ(request.name, name);
        EXPECT_EQ(request.version, version);
        EXPECT_EQ(message.Remaining(), 0u);
    }
    CStream any = StreamOf(Sz("x"));
    EXPECT_THROW(ParseUpdateRequest(5, any), ProtocolError);
    EXPECT_THROW(ParseUpdateRequest(-1, any), ProtocolError);
    CStream cut = StreamOf(Sz("qvs") + Bytes({7, 0}));
    EXPECT_THROW(ParseUpdateRequest(2, cut), StreamReadError);
}

} // namespace
} // namespace qvs
