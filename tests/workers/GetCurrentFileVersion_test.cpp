#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "RunToEnd.h"
#include "platform/VersionRecord.h"
#include "protocol/UpdateReplies.h"
#include "support/ScriptedServer.h"
#include "support/TempDir.h"
#include "support/WireBytes.h"
#include "workers/CGetCurrentFileVersion.h"

namespace qvs {
namespace {

using platform::FileVersion;
using test::Bytes;
using test::Content;
using test::Le32;
using test::RunToEnd;
using test::ScriptedServer;
using test::ShortWaitMs;

const std::string request = Le32(3) + Le32(8) + test::Sz("qvs.exe");

// Gives dir a launcher file "qvs.exe" of version 1.2.10.0: a file holding the
// version record, or on Windows a copy of this test program, whose version
// resource says 1.2.10.0.
bool PlaceLauncherFile(const test::TempDir& dir) {
#ifdef _WIN32
    std::error_code error;
    std::filesystem::copy_file("workers_tests.exe", dir.Path() / "qvs.exe", error);
    return !error;
#else
    std::ofstream(dir.File("qvs.exe"), std::ios::binary)
        << "\x7f"
           "ELF"
        << std::string(platform::VersionRecordTag) << "1.2.10.0" << '\0';
    return true;
#endif
}

struct VersionCase {
    FileVersion server;
    bool newer;
};

class LauncherVersion : public ::testing::TestWithParam<VersionCase> {};

TEST_P(LauncherVersion, IsNewerOnlyWhenTheServerIsAhead) {
    test::TempDir dir;
    if (!PlaceLauncherFile(dir)) {
        GTEST_SKIP() << "test program not found in the working folder";
    }
    ScriptedServer server(
        {ScriptedServer::Receive(request.size()),
         ScriptedServer::Send(Content(BuildGetCurrentFileVersionReply(GetParam().server)))});
    WorkerValues values;
    values.InstallDir = dir.Str();
    RunToEnd<CGetCurrentFileVersion>(values, "127.0.0.1", server.Port());
    EXPECT_FALSE(values.WorkerFailed);
    EXPECT_EQ(values.NewLauncherAvailable, GetParam().newer);
    ASSERT_EQ(server.WaitForConnections(1), 1u);
    EXPECT_EQ(server.Received().front(), request);
}

INSTANTIATE_TEST_SUITE_P(
    AgainstLocal_1_2_10_0, LauncherVersion,
    ::testing::Values(VersionCase{{1, 2, 10, 0}, false}, VersionCase{{1, 2, 9, 99}, false},
                      VersionCase{{1, 3, 0, 0}, true}, VersionCase{{2, 0, 0, 0}, true},
                      VersionCase{{1, 2, 10, 1}, true}, VersionCase{{1, 2, 11, 0}, true},
                      VersionCase{{0, 99, 99, 99}, false}, VersionCase{{1, 1, 99, 99}, false}));

TEST(GetCurrentFileVersion, LauncherWithoutVersionComparesAsZero) {
    for (const auto& [server, newer] :
         {VersionCase{{0, 0, 0, 0}, false}, VersionCase{{0, 0, 0, 1}, true}}) {
        test::TempDir dir; // holds no qvs.exe at all
        ScriptedServer script(
            {ScriptedServer::Receive(request.size()),
             ScriptedServer::Send(Content(BuildGetCurrentFileVersionReply(server)))});
        WorkerValues values;
        values.InstallDir = dir.Str();
        RunToEnd<CGetCurrentFileVersion>(values, "127.0.0.1", script.Port());
        EXPECT_FALSE(values.WorkerFailed);
        EXPECT_EQ(values.NewLauncherAvailable, newer);
    }
}

TEST(GetCurrentFileVersion, NeverSetsTheFlagBack) {
    test::TempDir dir;
    ScriptedServer server(
        {ScriptedServer::Receive(request.size()),
         ScriptedServer::Send(Content(BuildGetCurrentFileVersionReply({0, 0, 0, 0})))});
    WorkerValues values;
    values.InstallDir = dir.Str();
    values.NewLauncherAvailable = true;
    RunToEnd<CGetCurrentFileVersion>(values, "127.0.0.1", server.Port());
    EXPECT_FALSE(values.WorkerFailed);
    EXPECT_TRUE(values.NewLauncherAvailable);
}

TEST(GetCurrentFileVersion, ShortReplyFailsAndLeavesTheFlag) {
    test::TempDir dir;
    ScriptedServer server({ScriptedServer::Receive(request.size()),
                           ScriptedServer::Send(Le32(3) + Le32(12) + Le32(9) + Le32(0) + Le32(0))});
    WorkerValues values;
    values.InstallDir = dir.Str();
    RunToEnd<CGetCurrentFileVersion>(values, "127.0.0.1", server.Port(), ShortWaitMs);
    EXPECT_TRUE(values.WorkerFailed);
    EXPECT_FALSE(values.NewLauncherAvailable);
}

TEST(GetCurrentFileVersion, WrongTypeFailsAndLeavesTheFlag) {
    test::TempDir dir;
    ScriptedServer server(
        {ScriptedServer::Receive(request.size()),
         ScriptedServer::Send(Le32(4) + Le32(16) + Le32(9) + Le32(0) + Le32(0) + Le32(0))});
    WorkerValues values;
    values.InstallDir = dir.Str();
    RunToEnd<CGetCurrentFileVersion>(values, "127.0.0.1", server.Port(), ShortWaitMs);
    EXPECT_TRUE(values.WorkerFailed);
    EXPECT_FALSE(values.NewLauncherAvailable);
}

} // namespace
} // namespace qvs
