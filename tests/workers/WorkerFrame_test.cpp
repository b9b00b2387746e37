#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "protocol/ProtocolError.h"
#include "protocol/UpdateReplies.h"
#include "protocol/UpdateRequests.h"
#include "protocol/workers/CPingThread.h"
#include "protocol/workers/ServerConversation.h"
#include "support/ScriptedServer.h"
#include "support/WireBytes.h"

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
        CPingThread worker(values, "127.0.0.1", server.Port());
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_FALSE(worker.IsTerminated());
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
        CPingThread worker(values, "127.0.0.1", server.Port());
        worker.Resume();
    }
    EXPECT_FALSE(values.WorkerFailed);
    EXPECT_EQ(values.ObservedAddress, "5.6.7.8");
}

TEST(WorkerFrame, ResumeTwiceRunsTheRequestOnce) {
    ScriptedServer server(
        {ScriptedServer::Receive(8), ScriptedServer::Send(Content(BuildPingReply("1.1.1.1")))});
    WorkerValues values;
    {
        CPingThread worker(values, "127.0.0.1", server.Port());
        worker.Resume();
        worker.WaitFor();
        EXPECT_TRUE(worker.IsTerminated());
        worker.Resume();
        worker.WaitFor();
    }
    EXPECT_EQ(server.WaitForConnections(1), 1u);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(server.Received().size(), 1u);
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
