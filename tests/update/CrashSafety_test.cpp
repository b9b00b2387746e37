// A pass killed at any moment (SIGKILL, as a power cut or a crash would stop
// it) leaves an installation that the next pass completes: every file whole,
// old or new; qvs.dat never names a version not wholly unpacked; qvs.cfg
// readable.
#include "launcher/CConfig.h"
#include "update/UpdateFixture.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fstream>
#include <memory>
#include <set>
#include <thread>

#include <sys/wait.h>

namespace qvs::test {
namespace {

constexpr int DataVersions = 4;
constexpr int FilesPerVersion = 40;
constexpr int ClientCodeVersion = 3;
constexpr int KillMoments = 20;

// Version n brings files of its own, and rewrites "shared.bin", which every
// version holds with other content.
std::string OwnContent(int version, int file) {
    return std::string(static_cast<std::size_t>(8192 + file * 97),
                       static_cast<char>('a' + (version * 7 + file) % 26));
}
std::string SharedContent(int version) {
    return "shared of version " + std::to_string(version) + std::string(200000, 'x');
}
std::string OwnName(int version, int file) {
    return "v" + std::to_string(version) + "_" + std::to_string(file) + ".bin";
}

std::string DataPackage(int version) {
    PackageBytes package;
    package.Str("").Str("").Int(1).Dir("art\\", 0).Int(FilesPerVersion + 1);
    for (int file = 0; file < FilesPerVersion; ++file) {
        package.File("art\\", OwnName(version, file), OwnContent(version, file));
    }
    return Scramble(package.File("art\\", "shared.bin", SharedContent(version)).Int(0).Bytes());
}

std::string ClientCode() {
    return ScrambledPackage("MainClass\\", "StartUp.class", std::string(300000, 'c'));
}

// What a process has written so far, as the kernel counts its write calls:
// its progress seen from outside; 0 once it has ended.
std::uint64_t BytesWritten(long pid) {
    std::ifstream io("/proc/" + std::to_string(pid) + "/io");
    std::string name;
    std::uint64_t value = 0;
    while (io >> name >> value && name != "wchar:") {
    }
    return name == "wchar:" ? value : 0;
}

class CrashSafetyTest : public UpdateFixture {
protected:
    void SetUp() override {
        for (int version = 1; version <= DataVersions; ++version) {
            server.Serve("qvs" + std::to_string(version) + ".ecd", DataPackage(version));
        }
        server.Serve("qvsc" + std::to_string(ClientCodeVersion) + ".ecd", ClientCode());
        Start();
    }

    std::unique_ptr<ExternalProcess> StartPass(const std::string& installDir) const {
        return std::make_unique<ExternalProcess>(
            QVS_PASS_RUNNER_PATH,
            std::vector<std::string>{installDir, std::to_string(server.updatePort),
                                     values.Workers.WebBaseUrl});
    }

    // Runs a pass to its end; its exit status (0: handed over to the launch).
    int CompletePass(const std::string& installDir) const {
        const std::optional<int> status = StartPass(installDir)->Stop(0, 120000); // no signal
        return status && WIFEXITED(*status) ? WEXITSTATUS(*status) : -1;
    }

    // Everything a killed pass may leave: checked file by file.
    static void ExpectConsistent(const std::filesystem::path& dir, const std::string& moment) {
        SCOPED_TRACE(moment);
        const std::int32_t data = VersionIn(dir / "qvs.dat");
        ASSERT_GE(data, 0) << "qvs.dat torn";
        ASSERT_LE(data, DataVersions);
        for (int version = 1; version <= DataVersions; ++version) {
            for (int file = 0; file < FilesPerVersion; ++file) {
                const auto text = ReadRawFile(dir / "art" / OwnName(version, file));
                if (version <= data) {
                    ASSERT_TRUE(text)
                        << OwnName(version, file) << " missing below qvs.dat " << data;
                }
                if (text) {
                    ASSERT_EQ(*text, OwnContent(version, file))
                        << OwnName(version, file) << " torn";
                }
            }
        }
        if (data > 0) {
            const auto shared = ReadRawFile(dir / "art" / "shared.bin");
            ASSERT_TRUE(shared);
            const bool fromInstalled = *shared == SharedContent(data);
            const bool fromNext = data < DataVersions && *shared == SharedContent(data + 1);
            EXPECT_TRUE(fromInstalled || fromNext) << "shared.bin torn or stale";
        }
        const std::int32_t client = VersionIn(dir / "qvsc.dat");
        ASSERT_TRUE(client == 0 || client == ClientCodeVersion) << "qvsc.dat " << client;
        const auto code = ReadRawFile(dir / "qvsc.ecd");
        if (client == ClientCodeVersion || code) {
            ASSERT_TRUE(code);
            EXPECT_EQ(*code, ClientCode()) << "qvsc.ecd torn";
        }
        CConfig config((dir / "qvs.cfg").string());
        EXPECT_NO_THROW(config.ReadLines());
        EXPECT_NO_THROW(config.ReadValue("AUI", "CAN_PING", ""));
    }
};

TEST_F(CrashSafetyTest, KilledAtTwentyMomentsThenCompleted) {
    // How much one whole pass writes, to spread the kills over its progress
    // rather than over its time, which a loaded machine stretches.
    std::uint64_t whole = 0;
    {
        TempDir reference;
        WriteRawFile(reference.File("qvs.exe"), Launcher(1)); // as the server's
        const auto pass = StartPass(reference.Str());
        while (pass->Running()) {
            whole = std::max(whole, BytesWritten(pass->Pid()));
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        ASSERT_EQ(VersionIn(reference.Path() / "qvs.dat"), DataVersions);
        ExpectConsistent(reference.Path(), "uninterrupted");
    }
    ASSERT_GT(whole, 0u);

    std::set<std::int32_t> versionsSeen;
    for (int moment = 0; moment < KillMoments; ++moment) {
        TempDir dir;
        WriteRawFile(dir.File("qvs.exe"), Launcher(1));
        const std::uint64_t mark =
            whole * static_cast<std::uint64_t>(moment + 1) / (KillMoments + 1);
        const auto pass = StartPass(dir.Str());
        while (pass->Running() && BytesWritten(pass->Pid()) < mark) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        ASSERT_TRUE(pass->Stop(SIGKILL, 30000));
        const std::string name = "kill after " + std::to_string(mark) + " bytes written";
        ExpectConsistent(dir.Path(), name);
        versionsSeen.insert(VersionIn(dir.Path() / "qvs.dat"));

        ASSERT_EQ(CompletePass(dir.Str()), 0) << name << ": the next pass did not complete";
        EXPECT_EQ(VersionIn(dir.Path() / "qvs.dat"), DataVersions) << name;
        EXPECT_EQ(VersionIn(dir.Path() / "qvsc.dat"), ClientCodeVersion) << name;
        ExpectConsistent(dir.Path(), name + ", then completed");
    }
    // The kills did land inside the pass, not all before or after it.
    EXPECT_GE(versionsSeen.size(), 2u);
}

} // namespace
} // namespace qvs::test
