#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "protocol/ProtocolError.h"
#include "protocol/UpdateReplies.h"
#include "protocol/UpdateRequests.h"
#include "support/ScriptedServer.h"
#include "support/WireBytes.h"
#include "workers/CPingThread.h"
#include "workers/RunWorker.h"
#include "workers/ServerConversation.h"

namespace qvs {
namespace {

using test::Content;
using test::Le32;
using test::ScriptedServer;

TEST(WorkerFrame, ASuspendedWorkerDoesNothingUntilResumed) {
    ScriptedServer server(
        {ScriptedServer::Receive(8), ScriptedServer::Send(Content(BuildPingReply("1.1.1.1")))});
    WorkerValues values;
    {
        Worker<CPingThread> worker(values, "127.0.0.1", server.Port());
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_FALSE(worker.Frame().IsTerminated());
    }
    EXPECT_TRUE(server.Received().empty());
    EXPECT_EQ(values.ObservedAddress, "");
    EXPECT_FALSE(values.WorkerFailed);
}

TEST(WorkerFrame, DestroyingARunningWorkerWaitsForItsEnd) {
    // The owner must not delete early, but if it does the body still finishes
    // against a live object and the results are complete afterwards.
    ScriptedServer server({ScriptedServer::Receive(8), ScriptedServer::Pause(100),
                           ScriptedServer::Send(Content(BuildPingReply("5.6.7.8")))});
    WorkerValues values;
    {
        Worker<CPingThread> worker(values, "127.0.0.1", server.Port());
        worker.Frame().Resume();
    }
    EXPECT_FALSE(values.WorkerFailed);
    EXPECT_EQ(values.ObservedAddress, "5.6.7.8");
}

TEST(WorkerFrame, ResumeTwiceRunsTheRequestOnce) {
    ScriptedServer server(
        {ScriptedServer::Receive(8), ScriptedServer::Send(Content(BuildPingReply("1.1.1.1")))});
    WorkerValues values;
    {
        Worker<CPingThread> worker(values, "127.0.0.1", server.Port());
        WorkerFrame& frame = worker.Frame();
        frame.Resume();
        frame.WaitFor();
        EXPECT_TRUE(frame.IsTerminated());
        frame.Resume();
        frame.WaitFor();
    }
    EXPECT_EQ(server.WaitForConnections(1), 1u);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(server.Received().size(), 1u);
}

// Every way of waiting: a failure left by an earlier worker never counts
// against the next one, a failure keeps its reason, and the pumping policies
// keep the owner's window live while the reply is late.
TEST(RunWorker, EachPolicyStartsClearAndReportsTheReason) {
    int pumped = 0;
    std::vector<std::int32_t> shown;
    TransferProgress progress;
    const auto pump = [&pumped] { ++pumped; };
    const auto show = [&shown](std::int32_t received, std::int32_t) { shown.push_back(received); };
    const struct {
        const char* name;
        WaitPolicy policy;
        bool pumps;
    } policies[] = {
        {"Block", WaitPolicy::Block(), false},
        {"PumpMessages", WaitPolicy::PumpMessages(pump), true},
        {"PumpAndShowProgress", WaitPolicy::PumpAndShowProgress(pump, progress, show), true}};
    for (const auto& [name, policy, pumps] : policies) {
        SCOPED_TRACE(name);
        pumped = 0;
        shown.clear();
        WorkerValues values;
        values.WorkerFailed = true; // as an earlier failed attempt leaves it
        ScriptedServer server({ScriptedServer::Receive(8), ScriptedServer::Pause(250),
                               ScriptedServer::Send(Content(BuildPingReply("5.6.7.8")))});
        Worker<CPingThread> good(values, "127.0.0.1", server.Port());
        const WorkerOutcome success = RunWorker(good, policy);
        EXPECT_FALSE(success.failed);
        EXPECT_FALSE(values.WorkerFailed);
        EXPECT_EQ(values.ObservedAddress, "5.6.7.8");
        EXPECT_EQ(pumped > 0, pumps);
        EXPECT_EQ(!shown.empty(), name == std::string("PumpAndShowProgress"));

        Worker<CPingThread> bad(values, "127.0.0.1", test::UnusedPort(), 300);
        const WorkerOutcome failure = RunWorker(bad, policy);
        EXPECT_TRUE(failure.failed);
        EXPECT_TRUE(values.WorkerFailed);
        EXPECT_EQ(failure.failure.kind, WorkerFailure::Kind::Network);
        EXPECT_FALSE(failure.failure.reason.empty());
        EXPECT_EQ(values.ObservedAddress, "5.6.7.8");
    }
}

TEST(UpdateServerConversation, ReportsProgressOfThePayload) {
    const std::string file(150000, 'e');
    const std::string reply = Content(BuildRequestECDFileReply("qvs", 2, "qvs2.ecd", file));
    ScriptedServer server({ScriptedServer::Receive(16), ScriptedServer::Send(reply)});
    platform::TcpSocket socket;
    TransferProgress progress;
    CStream payload = RunUpdateServerConversation(socket, "127.0.0.1", server.Port(),
                                                  BuildRequestECDFileRequest("qvs", 2),
                                                  MessageType::RequestECDFile, 5000, &progress);
    const auto length = static_cast<std::int32_t>(reply.size() - ReplyHeaderSize);
    EXPECT_EQ(progress.BytesTotal, length);
    EXPECT_EQ(progress.BytesReceived, length);
    EXPECT_EQ(Content(payload), reply.substr(ReplyHeaderSize));
    EXPECT_EQ(payload.Position(), 0u);
}

TEST(UpdateServerConversation, RefusesAReplyOfAnotherType) {
    ScriptedServer server({ScriptedServer::Receive(8), ScriptedServer::Send(Le32(1) + Le32(0))});
    platform::TcpSocket socket;
    EXPECT_THROW(RunUpdateServerConversation(socket, "127.0.0.1", server.Port(), BuildPingRequest(),
                                             MessageType::Ping, 5000),
                 ProtocolError);
}

} // namespace
} // namespace qvs
