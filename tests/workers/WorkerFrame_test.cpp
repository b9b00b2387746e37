#include <gtest/gtest.h>

#include <chrono>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "http/HttpError.h"
#include "protocol/CStream.h"
#include "protocol/UpdateReplies.h"
#include "signing/SignatureError.h"
#include "support/ScriptedServer.h"
#include "support/WireBytes.h"
#include "system/PackageError.h"
#include "workers/CPingThread.h"
#include "workers/RunWorker.h"

namespace qvs {
namespace {

using test::Content;
using test::ScriptedServer;

ScriptedServer::Script PingReply(const std::string& address, int pauseMs = 0) {
    return {ScriptedServer::Receive(8), ScriptedServer::Pause(pauseMs),
            ScriptedServer::Send(Content(BuildPingReply(address)))};
}

// Nothing happens before Resume, and a second Resume does not run the
// request again; only owners clear an earlier failure. The owner must not
// delete a running worker, but if it does the body still finishes against a
// live object.
TEST(WorkerFrame, ResumeRunsTheRequestOnceAndOnlyOwnersClearTheFailure) {
    ScriptedServer server(PingReply("1.1.1.1"));
    WorkerValues values;
    values.WorkerFailed = true;
    {
        Worker<CPingThread> worker(values, "127.0.0.1", server.Port());
        WorkerFrame& frame = worker.Frame();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_FALSE(frame.IsTerminated());
        EXPECT_TRUE(server.Requests().empty());
        EXPECT_EQ(values.ObservedAddress, "");
        frame.Resume();
        frame.WaitFor();
        EXPECT_TRUE(frame.IsTerminated());
        frame.Resume();
        frame.WaitFor();
    }
    EXPECT_TRUE(values.WorkerFailed);
    EXPECT_EQ(values.ObservedAddress, "1.1.1.1");
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(server.Requests().size(), 1u); // a second connection would show
    ScriptedServer late(PingReply("5.6.7.8", 100));
    Worker<CPingThread>(values, "127.0.0.1", late.Port()).Frame().Resume();
    EXPECT_EQ(values.ObservedAddress, "5.6.7.8");
}

// Every way of waiting starts clear, and the pumping policies keep the
// owner's window live while the reply is late. Failures: WorkerReplies.
TEST(RunWorker, EachPolicyStartsClearAndPumpsAsAsked) {
    int pumped = 0;
    std::vector<std::int32_t> shown;
    TransferProgress progress;
    const auto pump = [&pumped] { ++pumped; };
    const auto show = [&shown](std::int32_t received, std::int32_t) { shown.push_back(received); };
    const struct {
        WaitPolicy policy;
        bool pumps, shows;
    } policies[] = {{WaitPolicy::Block(), false, false},
                    {WaitPolicy::PumpMessages(pump), true, false},
                    {WaitPolicy::PumpAndShowProgress(pump, progress, show), true, true}};
    for (const auto& [policy, pumps, shows] : policies) {
        pumped = 0;
        shown.clear();
        WorkerValues values;
        values.WorkerFailed = true; // as an earlier failed attempt leaves it
        ScriptedServer server(PingReply("5.6.7.8", 250));
        Worker<CPingThread> good(values, "127.0.0.1", server.Port());
        EXPECT_FALSE(RunWorker(good, policy).failed);
        EXPECT_FALSE(values.WorkerFailed);
        EXPECT_EQ(values.ObservedAddress, "5.6.7.8");
        EXPECT_EQ(pumped > 0, pumps);
        EXPECT_EQ(!shown.empty(), shows);
    }
}

TEST(WorkerFailure, NamesTheKindOfEachError) {
    const auto kindOf = [](const std::function<void()>& raise) {
        try {
            raise();
        } catch (...) {
            const WorkerFailure failure = WorkerFailure::FromCurrentException();
            return std::string(KindName(failure.kind)) + ": " + failure.reason;
        }
        return std::string("nothing raised");
    };
    // Network and protocol failures are met in WorkerReplies; cut fields of a
    // payload in UpdateMessages_test.
    EXPECT_EQ(kindOf([] { throw StreamReadError(); }), "protocol: Stream read error");
    EXPECT_EQ(kindOf([] { throw HttpError("Connection Failed"); }), "http: Connection Failed");
    EXPECT_EQ(kindOf([] { throw PackageError("bad"); }), "package: bad");
    EXPECT_EQ(kindOf([] { throw SignatureError("unsigned"); }), "signature: unsigned");
    EXPECT_EQ(kindOf([] { throw std::bad_alloc(); }), "memory: out of memory");
    EXPECT_EQ(kindOf([] { throw std::logic_error("x"); }), "other: x");
}

} // namespace
} // namespace qvs
