// The two file workers, and what they leave on disk: packages unpacked below
// the installation, file names, progress. Their cut, stalled and refused
// server replies are generated in WorkerReplies, HTTP ones in CHttpClient_test.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "platform/VersionRecord.h"
#include "protocol/CStream.h"
#include "protocol/UpdateReplies.h"
#include "protocol/UpdateRequests.h"
#include "signing/Ed25519.h"
#include "signing/LauncherSignature.h"
#include "signing/SignatureError.h"
#include "signing/UpdateSignature.h"
#include "support/ExternalProcess.h"
#include "support/Scramble.h"
#include "support/ScriptedServer.h"
#include "support/TempDir.h"
#include "support/TreeSnapshot.h"
#include "support/WireBytes.h"
#include "workers/ArrivingDigest.h"
#include "workers/CDownloadWebFileThread.h"
#include "workers/CRequestECDFileThread.h"
#include "workers/RunWorker.h"
#include "workers/SignedTransfer.h"

namespace qvs {
namespace {

namespace fs = std::filesystem;
using test::Le32;
using test::ScriptedServer;
using test::Sz;
using test::TreeSnapshot;
using Tree = std::map<std::string, std::string>;
using platform::FileVersion;

// These replies end by closing, so the wait only ends a case that fails;
// Wine on a loaded machine can take longer than a moment to pass them on.
constexpr int WaitMs = 10000;

std::string HttpOk(const std::string& body) {
    return "HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

// A data package, scrambled as served, short of its last cut bytes: base,
// then a root record holding one sub-directory with one file and one file of
// its own.
std::string Package(const std::string& base, std::size_t cut = 0) {
    const std::string plain = Sz(base) + Sz("") + Le32(1) + Sz("art\\") + Le32(0) + Le32(1) +
                              Sz("art\\") + Sz("a.jpg") + Le32(3) + "JPG" + Le32(1) + Sz("") +
                              Sz("sound.wav") + Le32(4) + "WAVE";
    return test::Scramble(plain.substr(0, plain.size() - cut));
}

const std::string launcher = std::string("MZ\x90\0\x03", 5) + "launcher image";
const Tree unpackedInData = {
    {"data/", ""}, {"data/art/", ""}, {"data/art/a.jpg", "JPG"}, {"data/sound.wav", "WAVE"}};

class FileTransfer : public testing::Test {
protected:
    void SetUp() override {
        values_.InstallDir = dir_.Str();
        values_.RequestName = "qvs";
        values_.RequestVersion = 12;
    }
    // Fetches the file over HTTP, in pieces, its reply short of its last cut
    // bytes, as the owner does; true on failure. TransferResult tells the
    // owner 1 for a fetched file, 2 for none.
    bool Ecd(const std::string& body, std::size_t cut = 0) {
        const std::string reply = HttpOk(body);
        ScriptedServer web(ScriptedServer::HttpReply(reply.substr(0, reply.size() - cut), 16));
        values_.WebBaseUrl = "http://" + web.Address() + "/updates/";
        Worker<CRequestECDFileThread> worker(values_, "127.0.0.1",
                                             test::ExternalProcess::FreePort(), WaitMs);
        const bool failed = RunWorker(worker, WaitPolicy::Block()).failed;
        EXPECT_EQ(failed, values_.WorkerFailed);
        EXPECT_EQ(worker->TransferResult, cut > 0 ? 2 : 1);
        EXPECT_TRUE(web.Requests()[0].starts_with("GET /updates/" + values_.RequestName +
                                                  std::to_string(values_.RequestVersion) +
                                                  ".ecd "));
        return failed;
    }
    // From the update server, which names the file.
    bool EcdFromServer(const std::string& fileName, const std::string& file) {
        const std::string request = test::Content(BuildRequestECDFileRequest("qvs", 12));
        ScriptedServer server({ScriptedServer::Receive(request.size()),
                               ScriptedServer::Send(test::Content(
                                   BuildRequestECDFileReply("qvs", 3, fileName, file)))});
        Worker<CRequestECDFileThread> worker(values_, "127.0.0.1", server.Port(), WaitMs);
        worker->UseServer = true;
        return RunWorker(worker, WaitPolicy::Block()).failed;
    }

    test::TempDir dir_;
    WorkerValues values_;
};

// A whole package lands below the installation; a short one keeps what was
// whole on disk before the cut (inside sound.wav here); one leaving the
// installation, client code cut short in its reply or that cannot be
// written, leaves nothing.
TEST_F(FileTransfer, HttpUnpacksBelowTheInstallationAndFailuresKeepWhatWasWholeBefore) {
    EXPECT_FALSE(Ecd(Package("data\\")));
    EXPECT_TRUE(Ecd(Package("more\\", 2)));
    Tree cut = unpackedInData;
    cut.insert({{"more/", ""}, {"more/art/", ""}, {"more/art/a.jpg", "JPG"}});
    EXPECT_EQ(TreeSnapshot(dir_.Path()), cut);
    EXPECT_TRUE(Ecd(Package("..\\outside\\")));
    EXPECT_FALSE(fs::exists(dir_.Path().parent_path() / "outside"));
    values_.RequestName = "qvsc";
    test::WriteFileBytes(dir_.Path() / "qvsc.ecd", "earlier");
    cut["qvsc.ecd"] = "earlier";
    EXPECT_TRUE(Ecd("client code", 1));
    values_.InstallDir = (dir_.Path() / "missing" / "").string();
    EXPECT_TRUE(Ecd("client code"));
    EXPECT_EQ(TreeSnapshot(dir_.Path()), cut);
}

TEST_F(FileTransfer, ServerFileNameDecidesCaseSensitivelyWhatIsClientCode) {
    EXPECT_FALSE(EcdFromServer("QVSC12.ECD", Package("data\\")));
    EXPECT_EQ(TreeSnapshot(dir_.Path()), unpackedInData);
    // File replies pass the small-reply cap. An empty file is an empty client
    // code, but no package.
    EXPECT_FALSE(EcdFromServer("qvsc5.ecd", std::string(70000, 'c')));
    EXPECT_EQ(test::ReadRawFile(dir_.Path() / "qvsc.ecd"), std::string(70000, 'c'));
    EXPECT_FALSE(EcdFromServer("qvsc4.ecd", ""));
    EXPECT_EQ(test::ReadRawFile(dir_.Path() / "qvsc.ecd"), "");
    EXPECT_TRUE(EcdFromServer("qvs12.ecd", ""));
}

// Stored as QVS whatever the case of its name, any other name as given,
// fetched from the same address.
TEST_F(FileTransfer, HttpStoresTheLauncherAsQvsWhateverTheCaseOfItsName) {
    for (const std::string& name : {std::string("Qvs.Exe"), (dir_.Path() / "other.bin").string()}) {
        ScriptedServer web(ScriptedServer::HttpReply(HttpOk(launcher), 7));
        values_.WebBaseUrl = "http://" + web.Address() + "/updates/";
        Worker<CDownloadWebFileThread> worker(values_, name, WaitMs,
                                              test::ExternalProcess::FreePort());
        EXPECT_FALSE(RunWorker(worker, WaitPolicy::Block()).failed);
        EXPECT_EQ(worker->Progress.BytesTotal, static_cast<std::int32_t>(launcher.size()));
        EXPECT_EQ(worker->Progress.BytesReceived, static_cast<std::int32_t>(launcher.size()));
        EXPECT_TRUE(web.Requests()[0].starts_with("GET /updates/QVS.exe "));
    }
    EXPECT_EQ(TreeSnapshot(dir_.Path()), (Tree{{"QVS", launcher}, {"other.bin", launcher}}));
}

// With keys, a launcher is taken only at exactly the version announced.
TEST(SignedTransfer, TakesOnlyALauncherOfTheAnnouncedVersion) {
    const Ed25519::KeyPair keys = Ed25519::Generate();
    const platform::VersionRecord record = platform::MakeVersionRecord(1, 2, 0, 5);
    const std::string program = "launcher " + std::string(record.begin(), record.end());
    const std::string file =
        program + UpdateSignature::Sign(keys.seed, {LauncherSignature::Name, "1.2.0.5"}, program);
    WorkerValues values;
    values.UpdatePublicKeys = {keys.publicKey};
    values.LatestLauncherVersion = {1, 2, 0, 5};
    EXPECT_NO_THROW(SignedTransfer::CheckLauncher(values, file));
    for (const FileVersion& other : {FileVersion{1, 2, 0, 6}, FileVersion{1, 3, 0, 5}}) {
        values.LatestLauncherVersion = other;
        EXPECT_THROW(SignedTransfer::CheckLauncher(values, file), SignatureError);
    }
}

// The digest taken while a file arrives, offered or appended, must equal the
// digest of its content taken at once, however the file is cut into pieces
// and whatever follows the content; a transfer that starts over (the first
// reply was not the file) gives the digest of the file it ended with.
TEST(ArrivingDigest, EqualsTheDigestOfTheContentForEveryCut) {
    const struct {
        std::size_t content, trailer, piece;
    } cases[] = {{0, 0, 1},      {511, 1, 1},        {600, 100, 3},
                 {3000, 512, 1}, {70000, 200, 1000}, {(2 << 20) + 7, 300, 1 << 20}};
    for (const auto& c : cases) {
        std::string file(c.content + c.trailer, '\0');
        for (std::size_t i = 0; i < file.size(); ++i) {
            file[i] = static_cast<char>(i * 131 + i / 256);
        }
        ArrivingDigest offered;
        ArrivingDigest appended;
        offered.Offer(std::string(c.content + c.trailer + 5000, 'r'));
        for (std::size_t received = 0; received < file.size();) {
            const std::size_t piece = std::min(file.size() - received, c.piece);
            offered.Offer(std::string_view(file).substr(0, received + piece));
            appended.Append(std::string_view(file).substr(received, piece));
            received += piece;
        }
        CStream kept;
        appended.CopyTo(kept);
        EXPECT_TRUE(kept.View() == file);
        Sha256 atOnce;
        atOnce.Add(std::string_view(file).substr(0, c.content));
        const std::string expected = atOnce.HexDigest();
        EXPECT_EQ(offered.Finish(file, c.content), expected)
            << c.content << " + " << c.trailer << " in pieces of " << c.piece;
        EXPECT_EQ(appended.Finish(kept.View(), c.content), expected)
            << c.content << " + " << c.trailer << " appended in pieces of " << c.piece;
    }
}

} // namespace
} // namespace qvs
