// Every worker that talks to a server, against its good reply and against
// replies generated from it: cut at every byte, stalled, of the wrong type,
// announcing lengths that lie. A failure must set WorkerFailed with its kind
// and leave the results, files on disk included, as they were. Then how a
// worker is started, waited for and how its failures are named.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <new>
#include <optional>
#include <sstream>
#include <thread>
#include <type_traits>

#include "http/HttpError.h"
#include "platform/FileVersion.h"
#include "platform/VersionRecord.h"
#include "protocol/UpdateFrame.h"
#include "protocol/UpdateReplies.h"
#include "protocol/UpdateRequests.h"
#include "signing/SignatureError.h"
#include "support/RawFile.h"
#include "support/Scramble.h"
#include "support/ScriptedServer.h"
#include "support/TempDir.h"
#include "support/TreeSnapshot.h"
#include "support/WireBytes.h"
#include "system/PackageError.h"
#include "workers/CDownloadWebFileThread.h"
#include "workers/CGetCurrentFileVersion.h"
#include "workers/CGetLatestClassVersionThread.h"
#include "workers/CGetLatestVersionThread.h"
#include "workers/CPingGameServerThread.h"
#include "workers/CPingThread.h"
#include "workers/CRequestECDFileThread.h"
#include "workers/RunWorker.h"

namespace qvs {
namespace {

namespace fs = std::filesystem;
using platform::FileVersion;
using test::Bytes;
using test::Content;
using test::Le32;
using test::ScriptedServer;
using test::Sz;
using Kind = WorkerFailure::Kind;
using Runner = std::function<WorkerOutcome(WorkerValues&, std::uint16_t port, int waitMs)>;

constexpr int LongWaitMs = 5000;
constexpr int StallWaitMs = 100;

// Runs Body as its owner does, file transfers from the update server.
template <typename Body, typename... Args>
WorkerOutcome RunAsOwner(WorkerValues& values, Args&&... args) {
    Worker<Body> worker(values, std::forward<Args>(args)...);
    if constexpr (std::is_base_of_v<CFileTransferThread, Body>) {
        worker->UseServer = true;
    }
    return RunWorker(worker, WaitPolicy::Block());
}

template <typename Body> Runner Asking() {
    return [](WorkerValues& values, std::uint16_t port, int waitMs) {
        return RunAsOwner<Body>(values, "127.0.0.1", port, waitMs);
    };
}

// The launcher is stored as QVS, whatever name the owner passes.
WorkerOutcome DownloadLauncher(WorkerValues& values, std::uint16_t port, int waitMs) {
    return RunAsOwner<CDownloadWebFileThread>(values, "Something.else", waitMs, port);
}

// A game server reply, framed and scrambled by hand as one block.
std::string GameFrame(const std::string& plain) {
    return Le32(static_cast<std::int32_t>(plain.size() + 2)) +
           test::ScrambledBlock(0x0F, 75, plain);
}

void Preset(WorkerValues& values, const test::TempDir& dir) {
    values.InstallDir = dir.Str();
    values.ServerHost = "127.0.0.1";
    values.RequestName = "qvs";
    values.RequestVersion = 12;
    values.ObservedAddress = "192.0.2.1";
    values.LatestDataVersion = 9;
    values.LatestClientCodeVersion = 2;
    values.LatestLauncherVersion = {0, 0, 0, 7};
    values.PeopleOnline = 3;
    values.NoticeMode = 1;
    values.NoticeTitle = "old title";
    values.NoticeHtml = "<p>old</p>";
    fs::remove_all(dir.Path());
    fs::create_directories(dir.Path());
    test::WriteFileBytes(dir.Path() / "QVS", "earlier launcher");
    test::WriteFileBytes(dir.Path() / "qvsc.ecd", "earlier client code");
}

// Everything a worker may change, files in the installation included.
std::string Results(const WorkerValues& values, const fs::path& dir) {
    std::ostringstream out;
    out << values.ObservedAddress << '|' << values.LatestDataVersion << '|'
        << values.LatestClientCodeVersion << '|' << values.NewLauncherAvailable << '|'
        << platform::FormatVersion(values.LatestLauncherVersion) << '|' << values.PeopleOnline
        << '|' << values.NoticeMode << '|' << values.NoticeTitle << '|' << values.NoticeHtml;
    for (const auto& [name, content] : test::TreeSnapshot(dir)) {
        out << '|' << name << '=' << content;
    }
    return out.str();
}

const std::string launcher = std::string("MZ\x90\0\x03", 5) + "launcher image";
const std::string dataPackage =
    test::Scramble(Sz("") + Sz("") + Le32(0) + Le32(1) + Sz("") + Sz("a.txt") + Le32(3) + "ABC");

struct WorkerCase {
    const char* name;
    Runner run;
    std::string request, reply, wrongType;
    std::size_t headerSize; // the length is its last four bytes
    bool small;             // held to the small-reply cap
    std::function<void(WorkerValues&, const fs::path&)> expect;
};

WorkerCase UpdateCase(const char* name, Runner run, const CStream& request, const CStream& reply,
                      bool small, std::function<void(WorkerValues&, const fs::path&)> expect) {
    std::string wrongType = Content(reply);
    wrongType[0] = static_cast<char>((wrongType[0] + 1) % 5);
    return {name,  std::move(run),   Content(request), Content(reply), wrongType, ReplyHeaderSize,
            small, std::move(expect)};
}

const std::string statusBody = Sz("Maintenance") + Sz("<b>Back soon</b>");

const WorkerCase workerCases[] = {
    UpdateCase("Ping", Asking<CPingThread>(), BuildPingRequest(), BuildPingReply("10.20.30.40"),
               true, [](WorkerValues& v, auto&) { v.ObservedAddress = "10.20.30.40"; }),
    // The name in the reply is not looked at.
    UpdateCase("LatestVersion", Asking<CGetLatestVersionThread>(),
               BuildGetLatestVersionRequest("qvs"), BuildGetLatestVersionReply("zzz", 17), true,
               [](WorkerValues& v, auto&) { v.LatestDataVersion = 17; }),
    UpdateCase("LatestClassVersion", Asking<CGetLatestClassVersionThread>(),
               BuildGetLatestVersionRequest("qvsc"), BuildGetLatestVersionReply("zzz", 44), true,
               [](WorkerValues& v, auto&) { v.LatestClientCodeVersion = 44; }),
    UpdateCase("CurrentFileVersion", Asking<CGetCurrentFileVersion>(),
               BuildGetCurrentFileVersionRequest("qvs.exe"),
               BuildGetCurrentFileVersionReply({1, 2, 3, 4}), true,
               [](WorkerValues& v, auto&) {
                   v.LatestLauncherVersion = {1, 2, 3, 4};
                   v.NewLauncherAvailable = true;
               }),
    {"GameServer", Asking<CPingGameServerThread>(),
     Bytes({0x07, 0, 0, 0, 0x8F, 0x77, 0x8F, 0x8F, 0x8F, 0x8F, 0xFB}),
     GameFrame(Bytes({0x74}) + Le32(12) + Le32(2) + statusBody),
     GameFrame(Bytes({0x75}) + Le32(12) + Le32(2) + statusBody), 4, true,
     [](WorkerValues& v, auto&) {
         v.PeopleOnline = 12;
         v.NoticeMode = 2;
         v.NoticeTitle = "Maintenance";
         v.NoticeHtml = "<b>Back soon</b>";
     }},
    // A data package, unpacked from the file it arrived in.
    UpdateCase(
        "EcdFile", Asking<CRequestECDFileThread>(), BuildRequestECDFileRequest("qvs", 12),
        BuildRequestECDFileReply("qvs", 12, "qvs12.ecd", dataPackage), false,
        [](WorkerValues&, const fs::path& dir) { test::WriteFileBytes(dir / "a.txt", "ABC"); }),
    UpdateCase(
        "Launcher", DownloadLauncher, BuildDownloadWebFileRequest("qvs.exe"),
        BuildDownloadWebFileReply(launcher), false,
        [](WorkerValues&, const fs::path& dir) { test::WriteFileBytes(dir / "QVS", launcher); }),
};

class WorkerReplies : public testing::TestWithParam<WorkerCase> {
protected:
    // Runs the worker against a server playing script after it read the
    // request; expects failure of the given kind or, without one, success.
    void Expect(const ScriptedServer::Script& reply, std::optional<Kind> failure,
                int waitMs = LongWaitMs) {
        const WorkerCase& c = GetParam();
        ScriptedServer::Script script{ScriptedServer::Receive(c.request.size())};
        script.insert(script.end(), reply.begin(), reply.end());
        ScriptedServer server(script);
        WorkerValues values;
        Preset(values, dir_);
        values.WorkerFailed = true; // as an earlier failed worker leaves it
        const WorkerOutcome outcome = c.run(values, server.Port(), waitMs);
        EXPECT_EQ(outcome.failed, failure.has_value()) << outcome.failure.reason;
        EXPECT_EQ(values.WorkerFailed, failure.has_value());
        WorkerValues expected;
        Preset(expected, expectedDir_);
        if (failure) {
            EXPECT_EQ(outcome.failure.kind, *failure) << outcome.failure.reason;
            EXPECT_FALSE(outcome.failure.reason.empty());
        } else {
            c.expect(expected, expectedDir_.Path());
        }
        EXPECT_EQ(Results(values, dir_.Path()), Results(expected, expectedDir_.Path()));
        EXPECT_EQ(server.Requests(), std::vector<std::string>{c.request});
    }

    test::TempDir dir_;
    test::TempDir expectedDir_;
};

TEST_P(WorkerReplies, GoodRepliesAtOnceOrByteByByte) {
    const std::string& reply = GetParam().reply;
    // What follows the announced payload is not read or waited for.
    Expect({ScriptedServer::Send(reply + "trailing"), ScriptedServer::Hold()}, std::nullopt);
    ScriptedServer::Script bytes;
    for (const char c : reply) {
        bytes.push_back(ScriptedServer::Send(std::string(1, c)));
        bytes.push_back(ScriptedServer::Pause(1));
    }
    Expect(bytes, std::nullopt);
}

TEST_P(WorkerReplies, GeneratedMisbehaviourFailsAndChangesNothing) {
    const WorkerCase& c = GetParam();
    const std::string& reply = c.reply;
    const std::string payload = reply.substr(c.headerSize);
    const auto announcing = [&](std::int64_t length, const std::string& sent) {
        return reply.substr(0, c.headerSize - 4) + Le32(static_cast<std::int32_t>(length)) + sent;
    };
    using S = ScriptedServer;
    for (std::size_t at = 0; at < reply.size(); ++at) {
        SCOPED_TRACE("cut at " + std::to_string(at));
        Expect({S::Send(reply.substr(0, at))}, Kind::Network);
    }
    for (const std::size_t at : {std::size_t{0}, c.headerSize - 1, reply.size() - 1}) {
        SCOPED_TRACE("stalled at " + std::to_string(at));
        Expect({S::Send(reply.substr(0, at)), S::Hold()}, Kind::Network, StallWaitMs);
    }
    SCOPED_TRACE("lying");
    Expect({S::Send(c.wrongType)}, Kind::Protocol);
    Expect({S::Send(announcing(payload.size() + 1, payload))}, Kind::Network);
    Expect({S::Send(announcing(-1, payload))}, Kind::Protocol);
    // Refused on the announcement: waiting for the payload would time out.
    Expect({S::Send(announcing(MaxPayloadLength + 1LL, payload)), S::Hold()}, Kind::Protocol);
    if (c.small) {
        Expect({S::Send(announcing(64 * 1024 + 1, payload)), S::Hold()}, Kind::Protocol);
    }
}

INSTANTIATE_TEST_SUITE_P(Workers, WorkerReplies, testing::ValuesIn(workerCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Newer only when the server is ahead of the launcher placed, version
// 1.2.10.0 after recordAt bytes: a file "QVS.exe" holding the version record
// (read in 1 MiB pieces, so records across the first edge too; the name
// matches without regard to case), or on Windows a copy of this test program
// (test.rc) as "qvs.exe". The flag is never set back. Without a launcher the
// local version is zero (the CurrentFileVersion row above).
TEST(GetCurrentFileVersion, NewerOnlyWhenTheServerIsAhead) {
    const struct {
        FileVersion server;
        bool before, after;
        std::size_t recordAt;
    } cases[] = {{{1, 2, 10, 0}, false, false, (1u << 20) - 30},
                 {{1, 2, 10, 0}, false, false, (1u << 20) - 1},
                 {{1, 2, 10, 1}, false, true, 1000},
                 {{1, 2, 10, 0}, true, true, 1000}};
    for (const auto& c : cases) {
        test::TempDir dir;
#ifdef _WIN32
        std::error_code error;
        fs::copy_file("workers_tests.exe", dir.Path() / "qvs.exe", error);
        ASSERT_FALSE(error) << "test program not found in the working folder";
#else
        test::WriteRawFile(dir.File("QVS.exe"), std::string(c.recordAt, 'z') +
                                                    std::string(platform::VersionRecordTag) +
                                                    "1.2.10.0" + '\0' + "x");
#endif
        const std::string request = Le32(3) + Le32(8) + Sz("qvs.exe");
        ScriptedServer server(
            {ScriptedServer::Receive(request.size()),
             ScriptedServer::Send(Content(BuildGetCurrentFileVersionReply(c.server)))});
        WorkerValues values;
        values.InstallDir = dir.Str();
        values.NewLauncherAvailable = c.before;
        EXPECT_FALSE(RunAsOwner<CGetCurrentFileVersion>(values, "127.0.0.1", server.Port()).failed);
        EXPECT_EQ(values.NewLauncherAvailable, c.after) << platform::FormatVersion(c.server);
        EXPECT_EQ(server.Requests(), std::vector<std::string>{request});
    }
}

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

// While the reply is late, the owner's window is kept live and shown the
// progress; a failure left by an earlier worker is cleared first. Blocking
// waits: WorkerReplies.
TEST(RunWorker, PumpingKeepsTheWindowLiveAndShowsProgress) {
    int pumped = 0;
    int shown = 0;
    TransferProgress progress;
    WorkerValues values;
    values.WorkerFailed = true;
    ScriptedServer server(PingReply("5.6.7.8", 250));
    Worker<CPingThread> good(values, "127.0.0.1", server.Port());
    const WaitPolicy policy = WaitPolicy::PumpAndShowProgress(
        [&pumped] { ++pumped; }, progress, [&shown](std::int32_t, std::int32_t) { ++shown; });
    EXPECT_FALSE(RunWorker(good, policy).failed);
    EXPECT_FALSE(values.WorkerFailed);
    EXPECT_EQ(values.ObservedAddress, "5.6.7.8");
    EXPECT_GT(pumped, 0);
    EXPECT_GT(shown, 0);
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
    // payload in ServerMessages_test.
    EXPECT_EQ(kindOf([] { throw StreamReadError(); }), "protocol: Stream read error");
    EXPECT_EQ(kindOf([] { throw HttpError("Connection Failed"); }), "http: Connection Failed");
    EXPECT_EQ(kindOf([] { throw PackageError("bad"); }), "package: bad");
    EXPECT_EQ(kindOf([] { throw SignatureError("unsigned"); }), "signature: unsigned");
    EXPECT_EQ(kindOf([] { throw std::bad_alloc(); }), "memory: out of memory");
    EXPECT_EQ(kindOf([] { throw std::logic_error("x"); }), "other: x");
}

} // namespace
} // namespace qvs
