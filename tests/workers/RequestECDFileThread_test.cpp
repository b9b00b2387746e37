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
#include "workers/CRequestECDFileThread.h"

namespace qvs {
namespace {

namespace fs = std::filesystem;
using test::Content;
using test::FileText;
using test::HttpNotFound;
using test::HttpOk;
using test::PlainPackage;
using test::ReplyScriptServer;
using test::RunTransfer;
using test::Scrambled;
using test::ScriptedServer;
using test::ShortWaitMs;
using test::TransferOutcome;
using test::WriteText;

const std::string clientCode = test::Bytes({0x07, 0x03, 0x41, 0x42, 0x43, 0x00, 0xFF});

class EcdFile : public ::testing::Test {
protected:
    void SetUp() override {
        values_.InstallDir = dir_.Str();
        values_.RequestName = "qvs";
        values_.RequestVersion = 12;
    }
    void UseWebHost(const ReplyScriptServer& server) {
        values_.WebBaseUrl = "http://" + server.Address() + "/updates/";
    }
    TransferOutcome OverHttp() {
        return RunTransfer<CRequestECDFileThread>(false, values_, "127.0.0.1", test::UnusedPort(),
                                                  ShortWaitMs);
    }
    TransferOutcome FromServer(const ScriptedServer& server) {
        return RunTransfer<CRequestECDFileThread>(true, values_, "127.0.0.1", server.Port(),
                                                  ShortWaitMs);
    }
    fs::path ClientCodeFile() const { return dir_.Path() / "qvsc.ecd"; }
    void ExpectUnpacked(const fs::path& base) const {
        EXPECT_EQ(FileText(base / "art" / "a.jpg"), "JPG");
        EXPECT_EQ(FileText(base / "sound.wav"), "WAVE");
    }

    test::TempDir dir_;
    WorkerValues values_;
};

std::string Request(const std::string& name, std::int32_t version) {
    return Content(BuildRequestECDFileRequest(name, version));
}

std::vector<ScriptedServer::Step>
ServerReply(const std::string& request, const std::string& fileName, const std::string& file) {
    return {ScriptedServer::Receive(request.size()),
            ScriptedServer::Send(Content(BuildRequestECDFileReply("qvs", 3, fileName, file)))};
}

TEST_F(EcdFile, HttpStoresTheClientCodeAsReceived) {
    ReplyScriptServer server({ReplyScriptServer::Send(HttpOk(clientCode))});
    UseWebHost(server);
    values_.RequestName = "qvsc";
    values_.RequestVersion = 7;
    const TransferOutcome outcome = OverHttp();
    EXPECT_FALSE(values_.WorkerFailed);
    EXPECT_EQ(FileText(ClientCodeFile()), clientCode);
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].rfind("GET /updates/qvsc7.ecd ", 0), 0u) << server.Requests()[0];
    EXPECT_EQ(outcome.transferResult, 1);
    EXPECT_EQ(outcome.bytesTotal, static_cast<std::int32_t>(clientCode.size()));
    EXPECT_EQ(outcome.bytesReceived, static_cast<std::int32_t>(clientCode.size()));
}

TEST_F(EcdFile, HttpUnpacksADataPackageBelowTheInstallation) {
    ReplyScriptServer server(
        ReplyScriptServer::SendInPieces(HttpOk(Scrambled(PlainPackage("data\\"))), 16));
    UseWebHost(server);
    const TransferOutcome outcome = OverHttp();
    EXPECT_FALSE(values_.WorkerFailed);
    ExpectUnpacked(dir_.Path() / "data");
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].rfind("GET /updates/qvs12.ecd ", 0), 0u);
    EXPECT_EQ(outcome.transferResult, 1);
    EXPECT_FALSE(fs::exists(ClientCodeFile()));
}

TEST_F(EcdFile, EmptyBaseUnpacksIntoTheInstallationDirectory) {
    ReplyScriptServer server({ReplyScriptServer::Send(HttpOk(Scrambled(PlainPackage(""))))});
    UseWebHost(server);
    OverHttp();
    EXPECT_FALSE(values_.WorkerFailed);
    ExpectUnpacked(dir_.Path());
}

TEST_F(EcdFile, FailedHttpTransfersKeepTheEarlierClientCode) {
    const std::string full = HttpOk(clientCode + "more bytes");
    const struct {
        const char* name;
        ReplyScriptServer::Script script;
    } cases[] = {
        {"not found", {ReplyScriptServer::Send(HttpNotFound())}},
        {"body cut short", {ReplyScriptServer::Send(full.substr(0, full.size() - 4))}},
        {"header only", {ReplyScriptServer::Send("HTTP/1.0 200 OK\r\nContent-Length: 50\r\n")}},
        {"stalled", {ReplyScriptServer::Hold()}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ReplyScriptServer server(c.script);
        UseWebHost(server);
        values_.RequestName = "qvsc";
        values_.WorkerFailed = false;
        WriteText(ClientCodeFile(), "earlier client code");
        const TransferOutcome outcome = OverHttp();
        EXPECT_TRUE(values_.WorkerFailed);
        EXPECT_EQ(outcome.transferResult, 2);
        EXPECT_EQ(FileText(ClientCodeFile()), "earlier client code");
        EXPECT_EQ(std::distance(fs::directory_iterator(dir_.Path()), fs::directory_iterator()), 1);
    }
}

TEST_F(EcdFile, HttpToAnUnreachableHostFails) {
    values_.WebBaseUrl = "http://127.0.0.1:" + std::to_string(test::UnusedPort()) + "/updates/";
    const TransferOutcome outcome = OverHttp();
    EXPECT_TRUE(values_.WorkerFailed);
    EXPECT_EQ(outcome.transferResult, 2);
}

TEST_F(EcdFile, ShortPackageFailsAndKeepsWhatWasWrittenBeforeIt) {
    const std::string plain = PlainPackage("data\\");
    // Cut inside sound.wav: the art file is already whole on disk.
    ReplyScriptServer server(
        {ReplyScriptServer::Send(HttpOk(Scrambled(plain.substr(0, plain.size() - 2))))});
    UseWebHost(server);
    OverHttp();
    EXPECT_TRUE(values_.WorkerFailed);
    EXPECT_EQ(FileText(dir_.Path() / "data" / "art" / "a.jpg"), "JPG");
    EXPECT_FALSE(fs::exists(dir_.Path() / "data" / "sound.wav"));
}

TEST_F(EcdFile, PackageLeavingTheInstallationIsRefused) {
    ReplyScriptServer server(
        {ReplyScriptServer::Send(HttpOk(Scrambled(PlainPackage("..\\outside\\"))))});
    UseWebHost(server);
    OverHttp();
    EXPECT_TRUE(values_.WorkerFailed);
    EXPECT_FALSE(fs::exists(dir_.Path().parent_path() / "outside"));
}

TEST_F(EcdFile, ServerStoresTheClientCodeWhenTheFileNameSaysSo) {
    // The server's file name decides, not RequestName.
    const std::string request = Request("qvs", 12);
    ScriptedServer server(ServerReply(request, "qvsc3.ecd", clientCode));
    const TransferOutcome outcome = FromServer(server);
    EXPECT_FALSE(values_.WorkerFailed);
    EXPECT_EQ(FileText(ClientCodeFile()), clientCode);
    ASSERT_EQ(server.WaitForConnections(1), 1u);
    EXPECT_EQ(server.Received()[0], request);
    const auto payload = static_cast<std::int32_t>(
        Content(BuildRequestECDFileReply("qvs", 3, "qvsc3.ecd", clientCode)).size() - 8);
    EXPECT_EQ(outcome.bytesTotal, payload);
    EXPECT_EQ(outcome.bytesReceived, payload);
}

TEST_F(EcdFile, ServerFileNameMatchIsCaseSensitive) {
    const std::string request = Request("qvs", 12);
    ScriptedServer server(ServerReply(request, "QVSC12.ECD", Scrambled(PlainPackage("data\\"))));
    FromServer(server);
    EXPECT_FALSE(values_.WorkerFailed);
    ExpectUnpacked(dir_.Path() / "data");
    EXPECT_FALSE(fs::exists(ClientCodeFile()));
}

TEST_F(EcdFile, ServerEmptyFileGivesEmptyClientCodeButFailsAPackage) {
    {
        ScriptedServer server(ServerReply(Request("qvs", 12), "qvsc4.ecd", ""));
        WriteText(ClientCodeFile(), "earlier");
        FromServer(server);
        EXPECT_FALSE(values_.WorkerFailed);
        EXPECT_TRUE(fs::exists(ClientCodeFile()));
        EXPECT_EQ(FileText(ClientCodeFile()), "");
    }
    ScriptedServer server(ServerReply(Request("qvs", 12), "qvs12.ecd", ""));
    FromServer(server);
    EXPECT_TRUE(values_.WorkerFailed);
}

TEST_F(EcdFile, ServerFailuresKeepTheEarlierClientCode) {
    const std::string request = Request("qvsc", 5);
    const std::string reply = Content(BuildRequestECDFileReply("qvsc", 5, "qvsc5.ecd", clientCode));
    const std::vector<std::vector<ScriptedServer::Step>> scripts = {
        {ScriptedServer::Receive(request.size()),
         ScriptedServer::Send(reply.substr(0, reply.size() - 3))},
        {ScriptedServer::Receive(request.size()), ScriptedServer::HoldUntilClientCloses()},
        {ScriptedServer::Receive(request.size()),
         ScriptedServer::Send(Content(BuildDownloadWebFileReply(clientCode)))},
    };
    for (const auto& script : scripts) {
        ScriptedServer server(script);
        values_.RequestName = "qvsc";
        values_.RequestVersion = 5;
        values_.WorkerFailed = false;
        WriteText(ClientCodeFile(), "earlier client code");
        FromServer(server);
        EXPECT_TRUE(values_.WorkerFailed);
        EXPECT_EQ(FileText(ClientCodeFile()), "earlier client code");
    }
}

TEST_F(EcdFile, UnwritableClientCodeFails) {
    values_.InstallDir = (dir_.Path() / "missing" / "").string();
    ReplyScriptServer server({ReplyScriptServer::Send(HttpOk(clientCode))});
    UseWebHost(server);
    values_.RequestName = "qvsc";
    OverHttp();
    EXPECT_TRUE(values_.WorkerFailed);
    EXPECT_FALSE(fs::exists(dir_.Path() / "missing"));
}

} // namespace
} // namespace qvs
