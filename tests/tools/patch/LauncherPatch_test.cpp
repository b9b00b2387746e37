// The patch program's steps on real files, with a real stand-in launcher that
// leaves a marker file when started: the new launcher replaces the old one or,
// on any failure, the old one stays untouched and a log line says why. And
// the command line the launcher hands over.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "LauncherPatch.h"
#include "PatchArguments.h"
#include "platform/DetachedProcess.h"
#include "platform/FileSystem.h"
#include "platform/VersionRecord.h"
#include "signing/Ed25519.h"
#include "signing/UpdateSignature.h"
#include "support/RawFile.h"
#include "support/TempDir.h"
#include "support/TreeSnapshot.h"

namespace qvs::test {
namespace {

namespace fs = std::filesystem;

using namespace std::chrono_literals;

// Built beside the test, which runs in its build folder.
const std::string PatchChild = fs::absolute(QVS_PATCH_CHILD).string();
const std::string PatchProgram = fs::absolute(QVS_PATCH_PROGRAM).string();

// Program bytes that pass the check for a program on this platform.
std::string OldLauncherBytes() {
#ifdef _WIN32
    return std::string("MZ old launcher\0\x01\x02", 19);
#else
    return "#!/bin/sh\n# old launcher\nexit 0\n";
#endif
}

// The marker's text once it exists, waiting at most 20 s for it.
std::optional<std::string> WaitForMarker(const std::filesystem::path& directory) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
        if (auto text = ReadRawFile(directory / "marker.txt")) {
            return text;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return std::nullopt;
}

const LauncherPatch::Timing kQuick{.launcherEnd = 30s, .replaceAttempts = 2, .replaceRetry = 10ms};

class LauncherPatchTest : public testing::Test {
protected:
    void SetUp() override {
        WriteRawFile(dir.Path() / "qvs.exe", OldLauncherBytes());
#ifndef _WIN32
        fs::permissions(dir.Path() / "qvs.exe", fs::perms(0750));
#endif
        child = ReadRawFile(PatchChild).value_or("");
        ASSERT_FALSE(child.empty());
    }

    std::string LogText() const {
        return ReadRawFile(dir.Path() / "Log" / "update.log").value_or("");
    }

    // The old launcher and nothing else changed, and the log explains.
    void ExpectOldLauncherKept(const std::string& logPart) const {
        EXPECT_EQ(ReadRawFile(dir.Path() / "qvs.exe"), OldLauncherBytes());
        const std::string log = LogText();
        EXPECT_NE(log.find("UpdateQvsPatch: "), std::string::npos) << log;
        EXPECT_NE(log.find(logPart), std::string::npos) << log;
        EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
    }

    TempDir dir;
    std::string child;
    LauncherPatch patch{dir.Str(), "qvs", kQuick};
};

TEST_F(LauncherPatchTest, ReplaceInstallsTheDownloadAndRestartStartsIt) {
    WriteRawFile(dir.Path() / "QVS", child);
    ASSERT_TRUE(patch.Replace());
    // Nothing else stays: no download, no temporary file, no log of success.
    EXPECT_EQ(TreeSnapshot(dir.Path()), (std::map<std::string, std::string>{{"qvs.exe", child}}));
#ifndef _WIN32
    EXPECT_EQ(fs::status(dir.Path() / "qvs.exe").permissions(), fs::perms(0750));
    // Execute is added where read is allowed, to a launcher that had none.
    for (const auto& [before, after] :
         {std::pair{0644, 0755}, std::pair{0600, 0700}, std::pair{0640, 0750}}) {
        fs::permissions(dir.Path() / "qvs.exe", fs::perms(before));
        WriteRawFile(dir.Path() / "QVS", child);
        ASSERT_TRUE(patch.Replace());
        EXPECT_EQ(fs::status(dir.Path() / "qvs.exe").permissions(), fs::perms(after));
    }
#endif
    // Or where there was none at all.
    fs::remove(dir.Path() / "qvs.exe");
    WriteRawFile(dir.Path() / "QVS", child);
    ASSERT_TRUE(patch.Replace());
    EXPECT_EQ(ReadRawFile(dir.Path() / "qvs.exe"), child);
    // Started without arguments, with the installation directory as working
    // directory (the marker is written relative to it).
    ASSERT_TRUE(patch.Restart());
    EXPECT_EQ(WaitForMarker(dir.Path()), "started");
}

TEST_F(LauncherPatchTest, BadDownloadKeepsOldLauncherAndDownload) {
    EXPECT_FALSE(patch.Replace());
    ExpectOldLauncherKept("cannot read the new launcher QVS");
#ifdef _WIN32
    const std::string foreign = "#!/bin/sh\n";
#else
    const std::string foreign = "MZ\220";
#endif
    for (const std::string& bytes :
         {std::string(), std::string("<html>404 Not Found</html>"), std::string("M"),
          std::string("mz\x90"), std::string("\177EL"), std::string(" #!"), foreign}) {
        fs::remove_all(dir.Path() / "Log");
        WriteRawFile(dir.Path() / "QVS", bytes);
        EXPECT_FALSE(patch.Replace());
        // Not "(" + to_string(...): GCC 12 at -O3 sees an impossible length in
        // that sum (a false -Wstringop-overflow).
        ExpectOldLauncherKept(std::string("(").append(std::to_string(bytes.size())) +
                              " bytes) is not a program");
        // Kept for support staff to look at; the next download replaces it.
        EXPECT_EQ(ReadRawFile(dir.Path() / "QVS"), bytes);
    }
}

// With keys: a program of this platform at version 1.0.0.build, signed for
// itemVersion by seed (unsigned when seed is empty).
std::string SignedLauncher(std::int32_t build, const std::string& itemVersion,
                           const std::string& seed) {
    const platform::VersionRecord record = platform::MakeVersionRecord(1, 0, 0, build);
    const std::string program = OldLauncherBytes() + std::string(record.begin(), record.end());
    return seed.empty() ? program
                        : program + UpdateSignature::Sign(seed, {"QVS.exe", itemVersion}, program);
}

TEST_F(LauncherPatchTest, WithKeysOnlyANewerSignedLauncherIsInstalled) {
    const Ed25519::KeyPair ours = Ed25519::Generate();
    const std::string running = SignedLauncher(5, "", "");
    const struct {
        std::string download;
        const char* reason; // null: installed
    } cases[] = {
        {SignedLauncher(6, "1.0.0.6", ours.seed), nullptr},
        {SignedLauncher(6, "1.0.0.7", ours.seed),
         "(signed for QVS.exe 1.0.0.7, not QVS.exe 1.0.0.6)"},
        {SignedLauncher(4, "1.0.0.4", ours.seed),
         "(version 1.0.0.4 is not above the running 1.0.0.5)"},
        {SignedLauncher(5, "1.0.0.5", ours.seed),
         "(version 1.0.0.5 is not above the running 1.0.0.5)"},
    };
    for (const auto& c : cases) {
        TempDir install;
        WriteRawFile(install.Path() / "qvs.exe", running);
        WriteRawFile(install.Path() / "QVS", c.download);
        LauncherPatch keyed(install.Str(), "qvs", kQuick, {ours.publicKey});
        EXPECT_EQ(keyed.Replace(), c.reason == nullptr) << c.download.size();
        const std::string log = ReadRawFile(install.Path() / "Log" / "update.log").value_or("");
        EXPECT_EQ(ReadRawFile(install.Path() / "qvs.exe"), c.reason ? running : c.download);
        EXPECT_EQ(c.reason ? log.find(c.reason) != std::string::npos : log.empty(), true) << log;
    }
}

TEST_F(LauncherPatchTest, ReadOnlyLauncherIsNotReplaced) {
    WriteRawFile(dir.Path() / "QVS", child);
    ASSERT_TRUE(platform::SetAttributes(dir.Str() + "qvs.exe", platform::AttrReadOnly));
    EXPECT_FALSE(patch.Replace());
    ExpectOldLauncherKept("Cannot create file ");
    EXPECT_NE(LogText().find("after 2 attempts"), std::string::npos);
    EXPECT_EQ(ReadRawFile(dir.Path() / "QVS"), child);
    // Neither the temporary copy nor anything else is left behind.
    EXPECT_EQ(TreeSnapshot(dir.Path()).size(), 4u); // Log/, Log/update.log, QVS, qvs.exe
}

// The log line's form and where it goes without a Log folder are UpdateLog's.
TEST_F(LauncherPatchTest, RestartWithoutALauncherFailsAndSaysWhy) {
    fs::remove(dir.Path() / "qvs.exe");
    EXPECT_FALSE(patch.Restart());
    EXPECT_NE(LogText().find(" UTC UpdateQvsPatch: cannot start "), std::string::npos) << LogText();
}

TEST_F(LauncherPatchTest, RunGivesUpWhenLauncherDoesNotEnd) {
    WriteRawFile(dir.Path() / "QVS", child);
    const auto launcher = platform::StartDetached(PatchChild, {"sleep=1000"}, dir.Str());
    ASSERT_TRUE(launcher.has_value());
    LauncherPatch impatient(dir.Str(), "qvs", {.launcherEnd = 100ms, .replaceAttempts = 2});
    EXPECT_FALSE(impatient.Run(*launcher));
    // Nothing replaced, nothing started while the old launcher may still run.
    ExpectOldLauncherKept("process " + std::to_string(*launcher) + " did not end within 100 ms");
    EXPECT_EQ(ReadRawFile(dir.Path() / "QVS"), child);
    EXPECT_TRUE(platform::WaitForProcessEnd(*launcher, 30s));
    EXPECT_FALSE(fs::exists(dir.Path() / "marker.txt"));
    EXPECT_TRUE(platform::WaitForProcessEnd(0x7ffffff0u, 0ms)); // no such process: ended
}

// The real program, started the way the launcher starts it: it waits for
// the launcher to end, replaces it and starts the new one. Also in a
// player's profile named outside the ANSI code page (under Wine, its default
// one), which the program learns only from its working directory.
TEST_F(LauncherPatchTest, ProgramPatchesAndRestarts) {
#ifdef _WIN32
    const fs::path profile(u8"C:\\users\\Ωμέγα \U0001F3B2 王伟");
#else
    const fs::path profile = dir.Path() / u8"Ωμέγα \U0001F3B2 王伟";
#endif
    fs::remove_all(profile);
    for (const fs::path& folder : {dir.Path(), profile / "AppData" / "Local" / "Quorvash"}) {
        const std::u8string name = (folder / "").u8string();
        const std::string install(name.begin(), name.end());
        SCOPED_TRACE(install);
        fs::create_directories(folder);
        WriteRawFile(folder / "qvs.exe", OldLauncherBytes());
        WriteRawFile(folder / "QVS", child);
        const auto launcher = platform::StartDetached(PatchChild, {"sleep=300"}, install);
        ASSERT_TRUE(launcher.has_value());
        const auto program =
            platform::StartDetached(PatchProgram, {std::to_string(*launcher), "qvs"}, install);
        ASSERT_TRUE(program.has_value());
        EXPECT_EQ(WaitForMarker(folder), "started");
        EXPECT_TRUE(platform::WaitForProcessEnd(*program, 30s));
        EXPECT_TRUE(platform::WaitForProcessEnd(*launcher, 0ms));
        EXPECT_EQ(ReadRawFile(folder / "qvs.exe"), child);
        EXPECT_FALSE(fs::exists(folder / "QVS"));
        EXPECT_FALSE(fs::exists(folder / "Log"));
    }
    fs::remove_all(profile);
}

// Each argument arrives whole, blanks and letters of any script, as the log
// line shows.
TEST_F(LauncherPatchTest, ProgramLogsUnusableCommandLine) {
    const auto program =
        platform::StartDetached(PatchProgram, {"qvs", "two w\xC3\xB6rds \xE7\x8E\x8B"}, dir.Str());
    ASSERT_TRUE(program.has_value());
    ASSERT_TRUE(platform::WaitForProcessEnd(*program, 30s));
    EXPECT_EQ(ReadRawFile(dir.Path() / "qvs.exe"), OldLauncherBytes());
    EXPECT_NE(LogText().find("unusable command line: \"qvs\" \"two w\xC3\xB6rds \xE7\x8E\x8B\""),
              std::string::npos)
        << LogText();
    // A missing working directory is reported, and nothing runs.
    EXPECT_FALSE(platform::StartDetached(PatchChild, {}, dir.File("gone")));
    EXPECT_FALSE(fs::exists(fs::current_path() / "marker.txt"));
}

TEST(PatchArgumentsTest, ParsesOrRefuses) {
    // As split by the C runtime and as one text (a shell that passed it whole).
    const std::pair<std::vector<std::string>, std::uint32_t> valid[] = {
        {{"1234", "qvs"}, 1234}, {{" 1234 qvs"}, 1234}, {{"2147483647", "qvs"}, 2147483647u}};
    for (const auto& [args, processId] : valid) {
        const auto parsed = ParsePatchArguments(args);
        ASSERT_TRUE(parsed.has_value()) << args[0];
        EXPECT_EQ(parsed->processId, processId);
        EXPECT_EQ(parsed->shortName, "qvs");
    }
    EXPECT_EQ(ParsePatchArguments({"1", "Qvs_2-b"})->shortName, "Qvs_2-b");
    const std::vector<std::vector<std::string>> refused = {
        {},
        {"1234"},
        {"1234", "qvs", "extra"},
        {"0", "qvs"},
        {"-5", "qvs"},
        {"+5", "qvs"},
        {"12ab", "qvs"},
        {"2147483648", "qvs"},
        {"99999999999999999999", "qvs"},
        // The short name names files: no paths, no extensions, no blanks.
        {"1234", "../qvs"},
        {"1234", "sub\\qvs"},
        {"1234", "qvs.exe"},
        {"1234", "\"\""},
        {"1234", "q v s"},
        {"1234", std::string(33, 'q')}};
    for (const auto& args : refused) {
        EXPECT_FALSE(ParsePatchArguments(args).has_value()) << ::testing::PrintToString(args);
    }
}

} // namespace
} // namespace qvs::test
