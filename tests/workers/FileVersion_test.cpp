// The version of the installed launcher, and the update server's version
// compared with it.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/FileVersion.h"
#include "platform/VersionRecord.h"
#include "protocol/UpdateReplies.h"
#include "signing/Ed25519.h"
#include "signing/LauncherSignature.h"
#include "signing/SignatureError.h"
#include "signing/UpdateSignature.h"
#include "support/RawFile.h"
#include "support/ScriptedServer.h"
#include "support/TempDir.h"
#include "support/WireBytes.h"
#include "workers/CGetCurrentFileVersion.h"
#include "workers/RunWorker.h"
#include "workers/SignedTransfer.h"

namespace qvs {
namespace {

using platform::FileVersion;
using test::ScriptedServer;

// Gives dir a launcher of version 1.2.10.0 after before bytes: a file
// "QVS.exe" holding the version record (read in 1 MiB pieces, so records
// across the first edge too; the name matches without regard to case), or
// on Windows a copy of this test program (test.rc) as "qvs.exe".
bool PlaceLauncherFile(const test::TempDir& dir, [[maybe_unused]] std::size_t before) {
#ifdef _WIN32
    std::error_code error;
    std::filesystem::copy_file("workers_tests.exe", dir.Path() / "qvs.exe", error);
    return !error;
#else
    test::WriteRawFile(dir.File("QVS.exe"), std::string(before, 'z') +
                                                std::string(platform::VersionRecordTag) +
                                                "1.2.10.0" + '\0' + "x");
    return true;
#endif
}

// Newer only when the server is ahead of the launcher placed; the flag is
// never set back. Without a launcher the local version is zero (the
// CurrentFileVersion row of WorkerReplies).
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
        ASSERT_TRUE(PlaceLauncherFile(dir, c.recordAt))
            << "test program not found in the working folder";
        const std::string request = test::Le32(3) + test::Le32(8) + test::Sz("qvs.exe");
        ScriptedServer server(
            {ScriptedServer::Receive(request.size()),
             ScriptedServer::Send(test::Content(BuildGetCurrentFileVersionReply(c.server)))});
        WorkerValues values;
        values.InstallDir = dir.Str();
        values.NewLauncherAvailable = c.before;
        Worker<CGetCurrentFileVersion> worker(values, "127.0.0.1", server.Port());
        EXPECT_FALSE(RunWorker(worker, WaitPolicy::Block()).failed);
        EXPECT_EQ(values.NewLauncherAvailable, c.after) << platform::FormatVersion(c.server);
        EXPECT_EQ(server.Requests(), std::vector<std::string>{request});
    }
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
