#include <gtest/gtest.h>

#include "RunToEnd.h"
#include "protocol/GameServerStatus.h"
#include "support/ScriptedServer.h"
#include "support/WireBytes.h"
#include "workers/CPingGameServerThread.h"

namespace qvs {
namespace {

using test::Bytes;
using test::Content;
using test::Le32;
using test::RunToEnd;
using test::ScriptedServer;
using test::ShortWaitMs;
using test::Sz;
using Script = std::vector<ScriptedServer::Step>;

const std::string statusQuery = Bytes({0x07, 0, 0, 0, 0x8F, 0x77, 0x8F, 0x8F, 0x8F, 0x8F, 0xFB});

// A reply frame around a body scrambled as one block with key 0x0F.
std::string Frame(const std::string& plain) {
    std::string block = Bytes({0x0F, 0x4B});
    for (const char c : plain) {
        block.push_back(static_cast<char>(c ^ 0x0F));
    }
    return Le32(static_cast<std::int32_t>(block.size())) + block;
}

void PresetResults(WorkerValues& values) {
    values.PeopleOnline = 3;
    values.NoticeMode = 1;
    values.NoticeTitle = "old title";
    values.NoticeHtml = "<p>old</p>";
}

void ExpectPresetResults(const WorkerValues& values) {
    EXPECT_EQ(values.PeopleOnline, 3);
    EXPECT_EQ(values.NoticeMode, 1);
    EXPECT_EQ(values.NoticeTitle, "old title");
    EXPECT_EQ(values.NoticeHtml, "<p>old</p>");
}

TEST(PingGameServerThread, SendsTheElevenByteQueryAndStoresTheStatus) {
    const StatusReply reply{12, 2, "Maintenance", "<html><b>Back soon</b></html>"};
    ScriptedServer server(
        {ScriptedServer::Receive(11), ScriptedServer::Send(Content(BuildStatusReply(reply)))});
    WorkerValues values;
    PresetResults(values);
    RunToEnd<CPingGameServerThread>(values, "127.0.0.1", server.Port());
    EXPECT_FALSE(values.WorkerFailed);
    EXPECT_EQ(values.PeopleOnline, 12);
    EXPECT_EQ(values.NoticeMode, 2);
    EXPECT_EQ(values.NoticeTitle, "Maintenance");
    EXPECT_EQ(values.NoticeHtml, "<html><b>Back soon</b></html>");
    ASSERT_EQ(server.WaitForConnections(1), 1u);
    EXPECT_EQ(server.Received().front(), statusQuery);
}

TEST(PingGameServerThread, AcceptsAHandmadeReplyInPiecesWithLongNotice) {
    const std::string frame = Frame(Bytes({0x74}) + Le32(0) + Le32(7) + Sz("t") + Sz("h"));
    ScriptedServer server({ScriptedServer::Receive(11), ScriptedServer::Send(frame.substr(0, 2)),
                           ScriptedServer::Pause(20), ScriptedServer::Send(frame.substr(2, 6)),
                           ScriptedServer::Pause(20), ScriptedServer::Send(frame.substr(8))});
    WorkerValues values;
    PresetResults(values);
    RunToEnd<CPingGameServerThread>(values, "127.0.0.1", server.Port());
    EXPECT_FALSE(values.WorkerFailed);
    EXPECT_EQ(values.PeopleOnline, 0);
    EXPECT_EQ(values.NoticeMode, 7);
    EXPECT_EQ(values.NoticeTitle, "t");
    EXPECT_EQ(values.NoticeHtml, "h");
}

struct FailureCase {
    const char* name;
    Script script;
};

class GameServerFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(GameServerFailure, SetsWorkerFailedAndKeepsTheOldStatus) {
    ScriptedServer server(GetParam().script);
    WorkerValues values;
    PresetResults(values);
    RunToEnd<CPingGameServerThread>(values, "127.0.0.1", server.Port(), ShortWaitMs);
    EXPECT_TRUE(values.WorkerFailed);
    ExpectPresetResults(values);
}

const std::string goodBody = Bytes({0x74}) + Le32(40) + Le32(0) + Sz("") + Sz("");

INSTANTIATE_TEST_SUITE_P(
    Misbehaving, GameServerFailure,
    ::testing::Values(
        FailureCase{"WrongTag",
                    {ScriptedServer::Receive(11),
                     ScriptedServer::Send(Frame(Bytes({0x75}) + goodBody.substr(1)))}},
        FailureCase{
            "UnscrambledBody",
            {ScriptedServer::Receive(11), ScriptedServer::Send(Le32(12) + Bytes({0x74}) + Le32(7) +
                                                               Le32(0) + Sz("t") + Sz("h"))}},
        FailureCase{"ZeroLength", {ScriptedServer::Receive(11), ScriptedServer::Send(Le32(0))}},
        FailureCase{
            "BodyShorterThanItsFields",
            {ScriptedServer::Receive(11), ScriptedServer::Send(Frame(goodBody.substr(0, 7)))}},
        FailureCase{"StallBeforeLength",
                    {ScriptedServer::Receive(11), ScriptedServer::HoldUntilClientCloses()}},
        FailureCase{"StallMidBody",
                    {ScriptedServer::Receive(11),
                     ScriptedServer::Send(Frame(goodBody).substr(0, 9)),
                     ScriptedServer::HoldUntilClientCloses()}},
        FailureCase{"CloseBeforeLength", {ScriptedServer::Receive(11)}},
        FailureCase{"CloseInsideLength",
                    {ScriptedServer::Receive(11), ScriptedServer::Send(Bytes({20, 0}))}},
        FailureCase{
            "CloseMidBody",
            {ScriptedServer::Receive(11), ScriptedServer::Send(Frame(goodBody).substr(0, 9))}},
        FailureCase{"HugeLength",
                    {ScriptedServer::Receive(11), ScriptedServer::Send(Le32(0x7FFFFFFF)),
                     ScriptedServer::HoldUntilClientCloses()}},
        FailureCase{"NegativeLength",
                    {ScriptedServer::Receive(11), ScriptedServer::Send(Le32(-1)),
                     ScriptedServer::HoldUntilClientCloses()}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PingGameServerThread, ConnectionRefusedFails) {
    WorkerValues values;
    PresetResults(values);
    RunToEnd<CPingGameServerThread>(values, "127.0.0.1", test::UnusedPort(), ShortWaitMs);
    EXPECT_TRUE(values.WorkerFailed);
    ExpectPresetResults(values);
}

} // namespace
} // namespace qvs
