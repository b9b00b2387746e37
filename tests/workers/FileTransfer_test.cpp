// The two file workers over HTTP, and what they leave on disk: packages
// unpacked below the installation, file names, progress. Their cut, stalled
// and refused replies are generated in WorkerReplies.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "protocol/CStream.h"
#include "protocol/UpdateReplies.h"
#include "protocol/UpdateRequests.h"
#include "support/ScriptedServer.h"
#include "support/TempDir.h"
#include "support/WireBytes.h"
#include "workers/CDownloadWebFileThread.h"
#include "workers/CRequestECDFileThread.h"
#include "workers/RunWorker.h"

namespace qvs {
namespace {

namespace fs = std::filesystem;
using test::Le32;
using test::ScriptedServer;
using test::Sz;

constexpr int ShortWaitMs = 300;

std::string HttpOk(const std::string& body) {
    return "HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

// A data package: base, then a root record holding one sub-directory with
// one file and one file of its own.
std::string Package(const std::string& base) {
    return Sz(base) + Sz("") + Le32(1) + Sz("art\\") + Le32(0) + Le32(1) + Sz("art\\") +
           Sz("a.jpg") + Le32(3) + "JPG" + Le32(1) + Sz("") + Sz("sound.wav") + Le32(4) + "WAVE";
}

std::string Scrambled(const std::string& plain) {
    CStream stream = test::StreamOf(plain);
    stream.Encode();
    return test::Content(stream);
}

std::string FileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

const std::string clientCode = test::Bytes({0x07, 0x03, 0x41, 0x42, 0x43, 0x00, 0xFF});
const std::string launcher = std::string("MZ\x90\0\x03", 5) + "launcher image";

struct Outcome {
    bool failed;
    std::int32_t bytesTotal, bytesReceived;
};

class FileTransfer : public testing::Test {
protected:
    void SetUp() override {
        values_.InstallDir = dir_.Str();
        values_.RequestName = "qvs";
        values_.RequestVersion = 12;
    }
    // Runs a worker as the owner does, over HTTP from web.
    template <typename Body, typename... Args>
    Outcome OverHttp(const ScriptedServer& web, Args&&... args) {
        values_.WebBaseUrl = "http://" + web.Address() + "/updates/";
        Worker<Body> worker(values_, std::forward<Args>(args)...);
        const bool failed = RunWorker(worker, WaitPolicy::Block()).failed;
        EXPECT_EQ(failed, values_.WorkerFailed);
        return {failed, worker->Progress.BytesTotal, worker->Progress.BytesReceived};
    }
    Outcome Ecd(const ScriptedServer& web) {
        return OverHttp<CRequestECDFileThread>(web, "127.0.0.1", ScriptedServer::RefusedPort(),
                                               ShortWaitMs);
    }
    Outcome Launcher(const ScriptedServer& web, const std::string& fileName = "QVS.exe") {
        return OverHttp<CDownloadWebFileThread>(web, fileName, ShortWaitMs,
                                                ScriptedServer::RefusedPort());
    }
    // From the update server.
    bool EcdFromServer(const std::string& fileName, const std::string& file) {
        const std::string request = test::Content(BuildRequestECDFileRequest("qvs", 12));
        ScriptedServer server({ScriptedServer::Receive(request.size()),
                               ScriptedServer::Send(test::Content(
                                   BuildRequestECDFileReply("qvs", 3, fileName, file)))});
        Worker<CRequestECDFileThread> worker(values_, "127.0.0.1", server.Port(), ShortWaitMs);
        worker->UseServer = true;
        return RunWorker(worker, WaitPolicy::Block()).failed;
    }
    fs::path ClientCode() const { return dir_.Path() / "qvsc.ecd"; }
    fs::path LauncherFile() const { return dir_.Path() / "QVS"; }
    void ExpectUnpacked(const fs::path& base) const {
        EXPECT_EQ(FileText(base / "art" / "a.jpg"), "JPG");
        EXPECT_EQ(FileText(base / "sound.wav"), "WAVE");
    }

    test::TempDir dir_;
    WorkerValues values_;
};

TEST_F(FileTransfer, HttpUnpacksADataPackageBelowTheInstallation) {
    for (const std::string base : {"data\\", ""}) {
        ScriptedServer web(ScriptedServer::HttpReply(HttpOk(Scrambled(Package(base))), 16));
        EXPECT_FALSE(Ecd(web).failed);
        ExpectUnpacked(base.empty() ? dir_.Path() : dir_.Path() / "data");
        EXPECT_TRUE(web.Requests()[0].starts_with("GET /updates/qvs12.ecd "));
        EXPECT_FALSE(fs::exists(ClientCode()));
    }
}

TEST_F(FileTransfer, ShortPackageFailsAndKeepsWhatWasWrittenBeforeIt) {
    const std::string plain = Package("data\\");
    // Cut inside sound.wav: the art file is already whole on disk.
    ScriptedServer web(
        ScriptedServer::HttpReply(HttpOk(Scrambled(plain.substr(0, plain.size() - 2)))));
    EXPECT_TRUE(Ecd(web).failed);
    EXPECT_EQ(FileText(dir_.Path() / "data" / "art" / "a.jpg"), "JPG");
    EXPECT_FALSE(fs::exists(dir_.Path() / "data" / "sound.wav"));
}

TEST_F(FileTransfer, PackageLeavingTheInstallationIsRefused) {
    ScriptedServer web(ScriptedServer::HttpReply(HttpOk(Scrambled(Package("..\\outside\\")))));
    EXPECT_TRUE(Ecd(web).failed);
    EXPECT_FALSE(fs::exists(dir_.Path().parent_path() / "outside"));
}

TEST_F(FileTransfer, UnwritableClientCodeFails) {
    values_.InstallDir = (dir_.Path() / "missing" / "").string();
    values_.RequestName = "qvsc";
    ScriptedServer web(ScriptedServer::HttpReply(HttpOk(clientCode)));
    EXPECT_TRUE(Ecd(web).failed);
    EXPECT_FALSE(fs::exists(dir_.Path() / "missing"));
}

TEST_F(FileTransfer, ServerFileNameDecidesCaseSensitivelyWhatIsClientCode) {
    EXPECT_FALSE(EcdFromServer("QVSC12.ECD", Scrambled(Package("data\\"))));
    ExpectUnpacked(dir_.Path() / "data");
    EXPECT_FALSE(fs::exists(ClientCode()));
    // An empty file is an empty client code, but no package.
    std::ofstream(ClientCode()) << "earlier";
    EXPECT_FALSE(EcdFromServer("qvsc4.ecd", ""));
    EXPECT_EQ(FileText(ClientCode()), "");
    EXPECT_TRUE(fs::exists(ClientCode()));
    EXPECT_TRUE(EcdFromServer("qvs12.ecd", ""));
}

TEST_F(FileTransfer, HttpStoresTheLauncherAsQvsWhateverTheCaseOfItsName) {
    ScriptedServer web(ScriptedServer::HttpReply(HttpOk(launcher), 7));
    const Outcome outcome = Launcher(web, "Qvs.Exe");
    EXPECT_FALSE(outcome.failed);
    EXPECT_EQ(FileText(LauncherFile()), launcher);
    EXPECT_EQ(outcome.bytesTotal, static_cast<std::int32_t>(launcher.size()));
    EXPECT_EQ(outcome.bytesReceived, static_cast<std::int32_t>(launcher.size()));
    EXPECT_TRUE(web.Requests()[0].starts_with("GET /updates/QVS.exe "));
    // Any other name is written as given, fetched from the same address.
    ScriptedServer empty(ScriptedServer::HttpReply(HttpOk("")));
    EXPECT_FALSE(Launcher(empty, (dir_.Path() / "other.bin").string()).failed);
    EXPECT_TRUE(fs::exists(dir_.Path() / "other.bin"));
    EXPECT_EQ(FileText(dir_.Path() / "other.bin"), "");
    EXPECT_TRUE(empty.Requests()[0].starts_with("GET /updates/QVS.exe "));
}

} // namespace
} // namespace qvs
