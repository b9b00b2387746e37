#include <gtest/gtest.h>

#include "RunToEnd.h"
#include "protocol/UpdateReplies.h"
#include "protocol/UpdateRequests.h"
#include "support/ScriptedServer.h"
#include "support/WireBytes.h"
#include "workers/CGetLatestClassVersionThread.h"
#include "workers/CGetLatestVersionThread.h"
#include "workers/CPingThread.h"

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

const std::string pingRequest(8, '\0');

std::string RequestOf(const ScriptedServer& server) {
    EXPECT_EQ(server.WaitForConnections(1), 1u);
    const auto received = server.Received();
    return received.empty() ? std::string() : received.front();
}

TEST(PingThread, StoresTheObservedAddress) {
    ScriptedServer server(
        {ScriptedServer::Receive(8), ScriptedServer::Send(Content(BuildPingReply("127.0.0.1")))});
    WorkerValues values;
    RunToEnd<CPingThread>(values, "127.0.0.1", server.Port());
    EXPECT_FALSE(values.WorkerFailed);
    EXPECT_EQ(values.ObservedAddress, "127.0.0.1");
    EXPECT_EQ(RequestOf(server), pingRequest);
}

TEST(PingThread, AssemblesAReplyArrivingInPieces) {
    const std::string reply = Content(BuildPingReply("10.20.30.40"));
    ScriptedServer server({ScriptedServer::Receive(8), ScriptedServer::Send(reply.substr(0, 3)),
                           ScriptedServer::Pause(20), ScriptedServer::Send(reply.substr(3, 7)),
                           ScriptedServer::Pause(20), ScriptedServer::Send(reply.substr(10))});
    WorkerValues values;
    RunToEnd<CPingThread>(values, "127.0.0.1", server.Port());
    EXPECT_FALSE(values.WorkerFailed);
    EXPECT_EQ(values.ObservedAddress, "10.20.30.40");
}

TEST(PingThread, StoresAnEmptyAddressFromAnEmptyStringOrEmptyPayload) {
    for (const std::string& reply : {Content(BuildPingReply("")), Le32(0) + Le32(0)}) {
        ScriptedServer server({ScriptedServer::Receive(8), ScriptedServer::Send(reply)});
        WorkerValues values;
        values.ObservedAddress = "earlier";
        RunToEnd<CPingThread>(values, "127.0.0.1", server.Port());
        EXPECT_FALSE(values.WorkerFailed);
        EXPECT_EQ(values.ObservedAddress, "");
    }
}

TEST(PingThread, ReadsOnlyTheAnnouncedPayload) {
    // Bytes after the payload are not ours to read; the worker closes.
    ScriptedServer server({ScriptedServer::Receive(8),
                           ScriptedServer::Send(Content(BuildPingReply("1.2.3.4")) + "trailing"),
                           ScriptedServer::HoldUntilClientCloses()});
    WorkerValues values;
    RunToEnd<CPingThread>(values, "127.0.0.1", server.Port(), ShortWaitMs);
    EXPECT_FALSE(values.WorkerFailed);
    EXPECT_EQ(values.ObservedAddress, "1.2.3.4");
}

TEST(PingThread, LeavesWorkerFailedSetByAnEarlierFailure) {
    ScriptedServer server(
        {ScriptedServer::Receive(8), ScriptedServer::Send(Content(BuildPingReply("1.2.3.4")))});
    WorkerValues values;
    values.WorkerFailed = true;
    // Only owners clear it (RunWorker does); the worker itself never does.
    Worker<CPingThread> worker(values, "127.0.0.1", server.Port());
    worker.Frame().Resume();
    worker.Frame().WaitFor();
    EXPECT_TRUE(values.WorkerFailed);
    EXPECT_EQ(values.ObservedAddress, "1.2.3.4");
}

struct FailureCase {
    const char* name;
    Script script;
};

class PingFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(PingFailure, SetsWorkerFailedAndKeepsTheOldAddress) {
    ScriptedServer server(GetParam().script);
    WorkerValues values;
    values.ObservedAddress = "192.0.2.1";
    RunToEnd<CPingThread>(values, "127.0.0.1", server.Port(), ShortWaitMs);
    EXPECT_TRUE(values.WorkerFailed);
    EXPECT_EQ(values.ObservedAddress, "192.0.2.1");
}

const std::string header10 = Le32(0) + Le32(10);

INSTANTIATE_TEST_SUITE_P(
    Misbehaving, PingFailure,
    ::testing::Values(
        FailureCase{"StallBeforeHeader",
                    {ScriptedServer::Receive(8), ScriptedServer::HoldUntilClientCloses()}},
        FailureCase{"StallInsideHeader",
                    {ScriptedServer::Receive(8), ScriptedServer::Send(Le32(0)),
                     ScriptedServer::HoldUntilClientCloses()}},
        FailureCase{"StallMidPayload",
                    {ScriptedServer::Receive(8), ScriptedServer::Send(header10 + "1.2.3"),
                     ScriptedServer::HoldUntilClientCloses()}},
        FailureCase{"CloseBeforeHeader", {ScriptedServer::Receive(8)}},
        FailureCase{"CloseWithoutReadingRequest", {}},
        FailureCase{"CloseInsideHeader",
                    {ScriptedServer::Receive(8), ScriptedServer::Send(Bytes({0, 0, 0, 0, 9}))}},
        FailureCase{"CloseMidPayload",
                    {ScriptedServer::Receive(8), ScriptedServer::Send(header10 + "1.2.3")}},
        FailureCase{"WrongReplyType",
                    {ScriptedServer::Receive(8),
                     ScriptedServer::Send(Le32(1) + Le32(8) + Sz("1.2.3.") + Bytes({0}))}},
        FailureCase{"HugeLength",
                    {ScriptedServer::Receive(8), ScriptedServer::Send(Le32(0) + Le32(0x7FFFFFF0)),
                     ScriptedServer::HoldUntilClientCloses()}},
        FailureCase{"JustAboveTheLimit",
                    {ScriptedServer::Receive(8),
                     ScriptedServer::Send(Le32(0) + Le32((1 << 30) + 1) + Sz("1.2.3.4")),
                     ScriptedServer::HoldUntilClientCloses()}},
        FailureCase{"NegativeLength",
                    {ScriptedServer::Receive(8), ScriptedServer::Send(Le32(0) + Le32(-8)),
                     ScriptedServer::HoldUntilClientCloses()}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PingThread, ConnectionRefusedFails) {
    WorkerValues values;
    values.ObservedAddress = "192.0.2.1";
    RunToEnd<CPingThread>(values, "127.0.0.1", test::UnusedPort(), ShortWaitMs);
    EXPECT_TRUE(values.WorkerFailed);
    EXPECT_EQ(values.ObservedAddress, "192.0.2.1");
}

TEST(GetLatestVersionThread, AsksForTheDataSetAndStoresItsVersion) {
    ScriptedServer server({ScriptedServer::Receive(12),
                           ScriptedServer::Send(Content(BuildGetLatestVersionReply("qvs", 17)))});
    WorkerValues values;
    values.LatestClientCodeVersion = 5;
    RunToEnd<CGetLatestVersionThread>(values, "127.0.0.1", server.Port());
    EXPECT_FALSE(values.WorkerFailed);
    EXPECT_EQ(values.LatestDataVersion, 17);
    EXPECT_EQ(values.LatestClientCodeVersion, 5);
    EXPECT_EQ(RequestOf(server), Bytes({1, 0, 0, 0, 4, 0, 0, 0, 0x71, 0x76, 0x73, 0}));
}

TEST(GetLatestVersionThread, IgnoresTheNameInTheReply) {
    ScriptedServer server({ScriptedServer::Receive(12),
                           ScriptedServer::Send(Content(BuildGetLatestVersionReply("zzz", 3)))});
    WorkerValues values;
    RunToEnd<CGetLatestVersionThread>(values, "127.0.0.1", server.Port());
    EXPECT_FALSE(values.WorkerFailed);
    EXPECT_EQ(values.LatestDataVersion, 3);
}

class LatestVersionFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(LatestVersionFailure, SetsWorkerFailedAndKeepsTheOldVersion) {
    ScriptedServer server(GetParam().script);
    WorkerValues values;
    values.LatestDataVersion = 9;
    RunToEnd<CGetLatestVersionThread>(values, "127.0.0.1", server.Port(), ShortWaitMs);
    EXPECT_TRUE(values.WorkerFailed);
    EXPECT_EQ(values.LatestDataVersion, 9);
}

INSTANTIATE_TEST_SUITE_P(
    Misbehaving, LatestVersionFailure,
    ::testing::Values(
        FailureCase{
            "PayloadHoldsOnlyTheString",
            {ScriptedServer::Receive(12), ScriptedServer::Send(Le32(1) + Le32(4) + Sz("qvs"))}},
        FailureCase{"VersionCutShort",
                    {ScriptedServer::Receive(12),
                     ScriptedServer::Send(Le32(1) + Le32(6) + Sz("qvs") + Bytes({7, 0}))}},
        FailureCase{"ZeroLengthPayload",
                    {ScriptedServer::Receive(12), ScriptedServer::Send(Le32(1) + Le32(0))}},
        FailureCase{"PingTypeReply",
                    {ScriptedServer::Receive(12),
                     ScriptedServer::Send(Le32(0) + Le32(8) + Sz("qvs") + Le32(4))}},
        FailureCase{"StallMidPayload",
                    {ScriptedServer::Receive(12),
                     ScriptedServer::Send(Le32(1) + Le32(8) + Sz("qvs")),
                     ScriptedServer::HoldUntilClientCloses()}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GetLatestClassVersionThread, AsksForTheClientCodeAndStoresItsVersion) {
    ScriptedServer server({ScriptedServer::Receive(13),
                           ScriptedServer::Send(Content(BuildGetLatestVersionReply("qvsc", 44)))});
    WorkerValues values;
    values.LatestDataVersion = 6;
    RunToEnd<CGetLatestClassVersionThread>(values, "127.0.0.1", server.Port());
    EXPECT_FALSE(values.WorkerFailed);
    EXPECT_EQ(values.LatestClientCodeVersion, 44);
    EXPECT_EQ(values.LatestDataVersion, 6);
    EXPECT_EQ(RequestOf(server), Bytes({1, 0, 0, 0, 5, 0, 0, 0, 0x71, 0x76, 0x73, 0x63, 0}));
}

TEST(GetLatestClassVersionThread, ShortReplyKeepsTheOldVersion) {
    ScriptedServer server(
        {ScriptedServer::Receive(13), ScriptedServer::Send(Le32(1) + Le32(5) + Sz("qvsc"))});
    WorkerValues values;
    values.LatestClientCodeVersion = 2;
    RunToEnd<CGetLatestClassVersionThread>(values, "127.0.0.1", server.Port());
    EXPECT_TRUE(values.WorkerFailed);
    EXPECT_EQ(values.LatestClientCodeVersion, 2);
}

} // namespace
} // namespace qvs
