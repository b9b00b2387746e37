// The version of the installed launcher, and the update server's version
// compared with it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/EmbeddedVersion.h"
#include "platform/FileVersion.h"
#include "platform/VersionRecord.h"
#include "protocol/UpdateReplies.h"
#include "signing/Ed25519.h"
#include "signing/LauncherSignature.h"
#include "signing/SignatureError.h"
#include "signing/UpdateSignature.h"
#include "support/ScriptedServer.h"
#include "support/TempDir.h"
#include "support/WireBytes.h"
#include "workers/CGetCurrentFileVersion.h"
#include "workers/RunWorker.h"
#include "workers/SignedTransfer.h"

namespace qvs {
namespace {

using platform::FileVersion;
using platform::GetFileInformation;
using test::ScriptedServer;

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string Record(const std::string& text) {
    return std::string(platform::VersionRecordTag) + text + '\0';
}

TEST(GetFileInformation, MissingOrUnversionedFilesGiveZero) {
    test::TempDir dir;
    EXPECT_EQ(GetFileInformation(dir.File("absent.exe")), FileVersion{});
    WriteFile(dir.File("plain.exe"), std::string(5000, 'x'));
    EXPECT_EQ(GetFileInformation(dir.File("plain.exe")), FileVersion{});
}

#ifndef _WIN32
TEST(GetFileInformation, FindsTheRecordAnywhereInTheFile) {
    // Files are read in 1 MiB pieces: records across the first edge too.
    for (const std::size_t before : {1000u, (1u << 20) - 30, (1u << 20) - 1}) {
        test::TempDir dir;
        WriteFile(dir.File("QVS.exe"), std::string(before, 'z') + Record("9.8.7.6") + "x");
        // The name matches without regard to case.
        EXPECT_EQ(GetFileInformation(dir.Str() + "qvs.exe"), (FileVersion{9, 8, 7, 6})) << before;
    }
    // ctest runs the tests in the folder that holds the test program.
    if (std::ifstream("workers_tests")) {
        EXPECT_EQ(GetFileInformation("workers_tests"),
                  (FileVersion{build::VersionMajor, build::VersionMinor, build::VersionRelease,
                               build::VersionBuild}));
    }
}
#else
TEST(GetFileInformation, ReadsTheVersionResource) {
    // The Windows build of this program carries a version resource (test.rc).
    if (!std::ifstream("workers_tests.exe")) {
        GTEST_SKIP() << "not started from its build folder";
    }
    EXPECT_EQ(GetFileInformation("workers_tests.exe"), (FileVersion{1, 2, 10, 0}));
}
#endif

// Gives dir a launcher "qvs.exe" of version 1.2.10.0: a file holding the
// version record, or on Windows a copy of this test program (test.rc).
bool PlaceLauncherFile(const test::TempDir& dir) {
#ifdef _WIN32
    std::error_code error;
    std::filesystem::copy_file("workers_tests.exe", dir.Path() / "qvs.exe", error);
    return !error;
#else
    WriteFile(dir.File("qvs.exe"), "\x7f"
                                   "ELF" +
                                       Record("1.2.10.0"));
    return true;
#endif
}

bool NewerOnServer(const FileVersion& version, bool placeLauncher, bool alreadyNewer = false) {
    test::TempDir dir;
    if (placeLauncher && !PlaceLauncherFile(dir)) {
        ADD_FAILURE() << "test program not found in the working folder";
    }
    const std::string request = test::Le32(3) + test::Le32(8) + test::Sz("qvs.exe");
    ScriptedServer server(
        {ScriptedServer::Receive(request.size()),
         ScriptedServer::Send(test::Content(BuildGetCurrentFileVersionReply(version)))});
    WorkerValues values;
    values.InstallDir = dir.Str();
    values.NewLauncherAvailable = alreadyNewer;
    Worker<CGetCurrentFileVersion> worker(values, "127.0.0.1", server.Port());
    EXPECT_FALSE(RunWorker(worker, WaitPolicy::Block()).failed);
    return values.NewLauncherAvailable;
}

TEST(GetCurrentFileVersion, NewerOnlyWhenTheServerIsAhead) {
    EXPECT_FALSE(NewerOnServer({1, 2, 10, 0}, true));
    EXPECT_FALSE(NewerOnServer({1, 1, 99, 99}, true));
    EXPECT_TRUE(NewerOnServer({1, 2, 10, 1}, true));
    // Without a launcher the local version is zero; the flag is never set back.
    EXPECT_FALSE(NewerOnServer({0, 0, 0, 0}, false));
    EXPECT_TRUE(NewerOnServer({0, 0, 0, 1}, false));
    EXPECT_TRUE(NewerOnServer({0, 0, 0, 0}, false, true));
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

} // namespace
} // namespace qvs
