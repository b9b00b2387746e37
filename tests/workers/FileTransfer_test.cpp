// The two file workers, and what they leave on disk: packages unpacked below
// the installation, file names, progress. Their cut, stalled and refused
// server replies are generated in WorkerReplies, HTTP ones in CHttpClient_test.
#include <gtest/gtest.h>

#include <chrono>
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
#include "workers/CDownloadWebFileThread.h"
#include "workers/CRequestECDFileThread.h"
#include "workers/PackageDownload.h"
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
    // owner 1 for a fetched file, 2 for none; a client code file that cannot
    // be stored is not even asked for.
    bool Ecd(const std::string& body, std::size_t cut = 0, bool asked = true) {
        const std::string reply = HttpOk(body);
        ScriptedServer web(ScriptedServer::HttpReply(reply.substr(0, reply.size() - cut), 16));
        values_.WebBaseUrl = "http://" + web.Address() + "/updates/";
        Worker<CRequestECDFileThread> worker(values_, "127.0.0.1",
                                             test::ExternalProcess::FreePort(), WaitMs);
        const bool failed = RunWorker(worker, WaitPolicy::Block()).failed;
        EXPECT_EQ(failed, values_.WorkerFailed);
        if (!asked) {
            EXPECT_EQ(worker->TransferResult, 0);
            EXPECT_TRUE(web.Requests().empty());
            return failed;
        }
        EXPECT_EQ(worker->TransferResult, cut > 0 ? 2 : 1);
        EXPECT_TRUE(web.Requests().size() == 1 &&
                    web.Requests()[0].starts_with("GET /updates/" + values_.RequestName +
                                                  std::to_string(values_.RequestVersion) +
                                                  ".ecd "));
        return failed;
    }
    // From the update server, which names the item, version and file.
    bool EcdFromServer(const std::string& item, std::int32_t version, const std::string& fileName,
                       const std::string& file) {
        const std::string request =
            test::Content(BuildRequestECDFileRequest(values_.RequestName, values_.RequestVersion));
        ScriptedServer server({ScriptedServer::Receive(request.size()),
                               ScriptedServer::Send(test::Content(
                                   BuildRequestECDFileReply(item, version, fileName, file)))});
        Worker<CRequestECDFileThread> worker(values_, "127.0.0.1", server.Port(), WaitMs);
        worker->UseServer = true;
        return RunWorker(worker, WaitPolicy::Block()).failed;
    }
    bool EcdFromServer(const std::string& fileName, const std::string& file) {
        return EcdFromServer(values_.RequestName, values_.RequestVersion, fileName, file);
    }

    test::TempDir dir_;
    WorkerValues values_;
};

// A whole package lands below the installation; one cut short, leaving
// the installation, client code cut short in its reply or that cannot be
// written, leaves nothing, not even its temporary file.
TEST_F(FileTransfer, HttpUnpacksBelowTheInstallationAndFailuresLeaveNothing) {
    // What a launcher killed while downloading left goes with the next download.
    const fs::path stale = dir_.Path() / ".qvs-download-0123456789abcdef.tmp";
    test::WriteFileBytes(stale, "left by a killed launcher");
    fs::last_write_time(stale, fs::file_time_type::clock::now() - std::chrono::hours(2));
    EXPECT_FALSE(Ecd(Package("data\\")));
    EXPECT_TRUE(Ecd(Package("more\\", 2)));
    Tree kept = unpackedInData;
    EXPECT_EQ(TreeSnapshot(dir_.Path()), kept);
    EXPECT_TRUE(Ecd(Package("..\\outside\\")));
    EXPECT_FALSE(fs::exists(dir_.Path().parent_path() / "outside"));
    values_.RequestName = "qvsc";
    test::WriteFileBytes(dir_.Path() / "qvsc.ecd", "earlier");
    kept["qvsc.ecd"] = "earlier";
    EXPECT_TRUE(Ecd("client code", 1));
    values_.InstallDir = (dir_.Path() / "missing" / "").string();
    EXPECT_TRUE(Ecd("client code", 0, false));
    EXPECT_EQ(TreeSnapshot(dir_.Path()), kept);
}

// The item asked for decides where a file goes, on both paths. A server
// that answers with the other item, another version or file name, or (with
// keys) a file signed for another item, or a package cut before it was
// signed, changes nothing: not "qvsc.ecd", not the data.
TEST_F(FileTransfer, AnAnswerAboutAnotherItemOrCutBeforeSigningChangesNothing) {
    const Ed25519::KeyPair keys = Ed25519::Generate();
    const auto signedFor = [&keys](const std::string& content, const std::string& item) {
        return content + UpdateSignature::Sign(keys.seed, {item, "12"}, content);
    };
    const std::string data = Package("data\\");
    const std::string code = Package("MainClass\\");
    test::WriteFileBytes(dir_.Path() / "qvsc.ecd", "earlier");
    const struct {
        const char* what;
        const char* asked;
        bool server, keys;
        std::string item;
        std::int32_t version;
        std::string fileName, file;
    } cases[] = {
        {"data asked, client code named", "qvs", true, false, "qvsc", 12, "qvsc12.ecd", code},
        {"client code asked, data named", "qvsc", true, false, "qvs", 12, "qvs12.ecd", data},
        {"other version", "qvs", true, false, "qvs", 11, "qvs12.ecd", data},
        {"other file name", "qvs", true, false, "qvs", 12, "qvsc12.ecd", data},
        {"data asked, client code signed", "qvs", true, true, "qvs", 12, "qvs12.ecd",
         signedFor(code, "qvsc")},
        {"client code asked, data signed", "qvsc", true, true, "qvsc", 12, "qvsc12.ecd",
         signedFor(data, "qvs")},
        {"web: data asked, client code signed", "qvs", false, true, "", 0, "",
         signedFor(code, "qvsc")},
        {"web: client code asked, data signed", "qvsc", false, true, "", 0, "",
         signedFor(data, "qvs")},
        {"cut, then signed", "qvs", true, true, "qvs", 12, "qvs12.ecd",
         signedFor(Package("data\\", 3), "qvs")},
        {"web: cut, then signed", "qvs", false, true, "", 0, "",
         signedFor(Package("data\\", 3), "qvs")},
    };
    for (const auto& c : cases) {
        values_.RequestName = c.asked;
        values_.UpdatePublicKeys =
            c.keys ? std::vector{keys.publicKey} : std::vector<std::string>{};
        EXPECT_TRUE(c.server ? EcdFromServer(c.item, c.version, c.fileName, c.file) : Ecd(c.file))
            << c.what;
        EXPECT_EQ(TreeSnapshot(dir_.Path()), (Tree{{"qvsc.ecd", "earlier"}})) << c.what;
    }
    // Answered as asked, signed or not, in the file name's case of any
    // server; the empty client code passes without keys, no empty package.
    values_.UpdatePublicKeys = {keys.publicKey};
    values_.RequestName = "qvs";
    EXPECT_FALSE(EcdFromServer("QVS12.ECD", signedFor(data, "qvs")));
    values_.RequestName = "qvsc";
    EXPECT_FALSE(EcdFromServer("qvsc12.ecd", signedFor(std::string(70000, 'c'), "qvsc")));
    EXPECT_EQ(test::ReadRawFile(dir_.Path() / "qvsc.ecd"),
              signedFor(std::string(70000, 'c'), "qvsc"));
    values_.UpdatePublicKeys.clear();
    EXPECT_FALSE(EcdFromServer("qvsc12.ecd", ""));
    EXPECT_EQ(test::ReadRawFile(dir_.Path() / "qvsc.ecd"), "");
    values_.RequestName = "qvs";
    EXPECT_TRUE(EcdFromServer("qvs12.ecd", ""));
    Tree expected = unpackedInData;
    expected["qvsc.ecd"] = "";
    EXPECT_EQ(TreeSnapshot(dir_.Path()), expected);
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

// The digest taken while a file arrives must equal the digest of its
// content taken at once, however the file is cut into pieces and however
// long its trailer; a changed byte anywhere is refused.
TEST(PackageDownload, ChecksTheContentBeforeTheTrailerForEveryCut) {
    const Ed25519::KeyPair keys = Ed25519::Generate();
    WorkerValues values;
    values.RequestName = "qvs";
    values.RequestVersion = 4;
    values.UpdatePublicKeys = {keys.publicKey};
    const struct {
        std::size_t content, piece;
    } cases[] = {{0, 1}, {511, 1}, {600, 3}, {3000, 1}, {70000, 1000}, {(2 << 20) + 7, 1 << 20}};
    for (const auto& c : cases) {
        std::string content(c.content, '\0');
        for (std::size_t i = 0; i < content.size(); ++i) {
            content[i] = static_cast<char>(i * 131 + i / 256);
        }
        const std::string file = content + UpdateSignature::Sign(keys.seed, {"qvs", "4"}, content);
        for (const std::size_t flip : {std::string::npos, c.content / 2, file.size() - 80}) {
            std::string sent = file;
            if (flip != std::string::npos) {
                sent[flip] ^= 0x20;
            }
            PackageDownload download(values);
            for (std::size_t at = 0; at < sent.size(); at += c.piece) {
                download.Append(std::string_view(sent).substr(at, c.piece));
            }
            if (flip == std::string::npos) {
                EXPECT_EQ(download.Verify(), c.content) << c.content << " in pieces of " << c.piece;
            } else {
                EXPECT_THROW(download.Verify(), SignatureError)
                    << c.content << " flipped at " << flip;
            }
        }
    }
}

} // namespace
} // namespace qvs
