#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "EcdTransfer.h"
#include "RunToEnd.h"
#include "protocol/UpdateReplies.h"
#include "protocol/UpdateRequests.h"
#include "support/ReplyScriptServer.h"
#include "support/ScriptedServer.h"
#include "support/TempDir.h"
#include "support/WireBytes.h"
#include "workers/CDownloadWebFileThread.h"

namespace qvs {
namespace {

namespace fs = std::filesystem;
using test::Content;
using test::FileText;
using test::HttpNotFound;
using test::HttpOk;
using test::ReplyScriptServer;
using test::RunTransfer;
using test::ScriptedServer;
using test::ShortWaitMs;
using test::TransferOutcome;
using test::WriteText;

const std::string launcher = std::string("MZ\x90\0\x03", 5) + "launcher image";

class WebFile : public ::testing::Test {
protected:
    void SetUp() override {
        values_.InstallDir = dir_.Str();
        values_.ServerHost = "127.0.0.1";
    }
    void UseWebHost(const ReplyScriptServer& server) {
        values_.WebBaseUrl = "http://" + server.Address() + "/updates/";
    }
    TransferOutcome OverHttp(const std::string& fileName = "QVS.exe") {
        return RunTransfer<CDownloadWebFileThread>(false, values_, fileName, ShortWaitMs,
                                                   test::UnusedPort());
    }
    TransferOutcome FromServer(const ScriptedServer& server,
                               const std::string& fileName = "QVS.exe") {
        return RunTransfer<CDownloadWebFileThread>(true, values_, fileName, ShortWaitMs,
                                                   server.Port());
    }
    fs::path Launcher() const { return dir_.Path() / "QVS"; }

    test::TempDir dir_;
    WorkerValues values_;
};

TEST_F(WebFile, HttpStoresTheLauncherAsQvsWhateverTheCaseOfItsName) {
    for (const char* fileName : {"QVS.exe", "qvs.exe", "QVS.EXE", "Qvs.Exe"}) {
        SCOPED_TRACE(fileName);
        fs::remove(Launcher());
        ReplyScriptServer server(ReplyScriptServer::SendInPieces(HttpOk(launcher), 7));
        UseWebHost(server);
        const TransferOutcome outcome = OverHttp(fileName);
        EXPECT_FALSE(values_.WorkerFailed);
        EXPECT_EQ(FileText(Launcher()), launcher);
        EXPECT_EQ(outcome.transferResult, 1);
        EXPECT_EQ(outcome.bytesTotal, static_cast<std::int32_t>(launcher.size()));
        EXPECT_EQ(outcome.bytesReceived, static_cast<std::int32_t>(launcher.size()));
        ASSERT_EQ(server.Requests().size(), 1u);
        EXPECT_EQ(server.Requests()[0].rfind("GET /updates/QVS.exe ", 0), 0u);
    }
}

TEST_F(WebFile, HttpWritesAnyOtherNameAsGivenFromTheSameUrl) {
    ReplyScriptServer server({ReplyScriptServer::Send(HttpOk(launcher))});
    UseWebHost(server);
    const fs::path other = dir_.Path() / "other.bin";
    OverHttp(other.string());
    EXPECT_FALSE(values_.WorkerFailed);
    EXPECT_EQ(FileText(other), launcher);
    EXPECT_FALSE(fs::exists(Launcher()));
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].rfind("GET /updates/QVS.exe ", 0), 0u);
}

TEST_F(WebFile, HttpEmptyBodyGivesAnEmptyFile) {
    ReplyScriptServer server({ReplyScriptServer::Send(HttpOk(""))});
    UseWebHost(server);
    WriteText(Launcher(), "earlier");
    OverHttp();
    EXPECT_FALSE(values_.WorkerFailed);
    EXPECT_TRUE(fs::exists(Launcher()));
    EXPECT_EQ(FileText(Launcher()), "");
}

TEST_F(WebFile, FailedHttpTransfersKeepTheEarlierFile) {
    const std::string full = HttpOk(launcher);
    const ReplyScriptServer::Script scripts[] = {
        {ReplyScriptServer::Send(HttpNotFound())},
        {ReplyScriptServer::Send(full.substr(0, full.size() - 1))},
        {ReplyScriptServer::Hold()},
    };
    for (const auto& script : scripts) {
        ReplyScriptServer server(script);
        UseWebHost(server);
        values_.WorkerFailed = false;
        WriteText(Launcher(), "earlier launcher");
        const TransferOutcome outcome = OverHttp();
        EXPECT_TRUE(values_.WorkerFailed);
        EXPECT_EQ(outcome.transferResult, 2);
        EXPECT_EQ(FileText(Launcher()), "earlier launcher");
        EXPECT_EQ(std::distance(fs::directory_iterator(dir_.Path()), fs::directory_iterator()), 1);
    }
}

TEST_F(WebFile, ServerAsksForQvsExeAndStoresQvs) {
    const std::string request = Content(BuildDownloadWebFileRequest("qvs.exe"));
    ScriptedServer server({ScriptedServer::Receive(request.size()),
                           ScriptedServer::Send(Content(BuildDownloadWebFileReply(launcher)))});
    const TransferOutcome outcome = FromServer(server, "Something.else");
    EXPECT_FALSE(values_.WorkerFailed);
    EXPECT_EQ(FileText(Launcher()), launcher);
    EXPECT_FALSE(fs::exists(dir_.Path() / "Something.else"));
    ASSERT_EQ(server.WaitForConnections(1), 1u);
    EXPECT_EQ(server.Received()[0], request);
    EXPECT_EQ(outcome.bytesTotal, static_cast<std::int32_t>(launcher.size()));
    EXPECT_EQ(outcome.bytesReceived, static_cast<std::int32_t>(launcher.size()));
}

TEST_F(WebFile, ServerFailuresKeepTheEarlierFile) {
    const std::string request = Content(BuildDownloadWebFileRequest("qvs.exe"));
    const std::string reply = Content(BuildDownloadWebFileReply(launcher));
    const std::vector<std::vector<ScriptedServer::Step>> scripts = {
        {ScriptedServer::Receive(request.size()),
         ScriptedServer::Send(reply.substr(0, reply.size() - 2))},
        {ScriptedServer::Receive(request.size()), ScriptedServer::HoldUntilClientCloses()},
        // A ping reply: the type must be that of the request.
        {ScriptedServer::Receive(request.size()),
         ScriptedServer::Send(Content(BuildPingReply("1.2.3.4")))},
    };
    for (const auto& script : scripts) {
        ScriptedServer server(script);
        values_.WorkerFailed = false;
        WriteText(Launcher(), "earlier launcher");
        FromServer(server);
        EXPECT_TRUE(values_.WorkerFailed);
        EXPECT_EQ(FileText(Launcher()), "earlier launcher");
    }
}

TEST_F(WebFile, ServerUnreachableFails) {
    values_.WorkerFailed = false;
    RunTransfer<CDownloadWebFileThread>(true, values_, "QVS.exe", ShortWaitMs, test::UnusedPort());
    EXPECT_TRUE(values_.WorkerFailed);
    EXPECT_FALSE(fs::exists(Launcher()));
}

} // namespace
} // namespace qvs
