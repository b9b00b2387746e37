// An installation and an update server for one test: a fresh installation
// directory with qvs.cfg and the version files, the suite's qvs-server on
// free loopback ports serving a folder of packages emptied for each test,
// and the main window as recorded calls.
#pragma once

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "launcher/CConfig.h"
#include "launcher/INetworkInformationView.h"
#include "launcher/IUpdateView.h"
#include "launcher/ProcessValues.h"
#include "launcher/StartUp.h"
#include "launcher/VersionFile.h"
#include "platform/FileSystem.h"
#include "platform/VersionRecord.h"
#include "protocol/CStream.h"
#include "support/RecordingNetworkView.h"
#include "support/RecordingPrompts.h"
#include "support/RecordingShell.h"
#include "support/TempDir.h"
#include "support/WireBytes.h"
#include "tools/ServerProcess.h"

namespace qvs::test {

inline constexpr const char* WebHostName = "updates.quorvash.test";
inline constexpr const char* ServerHostName = "game.quorvash.test";
inline constexpr const char* WebHostCaps = "UPDATES.QUORVASH.TEST";
inline constexpr const char* ServerHostCaps = "GAME.QUORVASH.TEST";

// The version a version file holds, read byte by byte: 0 when there is no
// file (as the next start takes it), -1 when it is torn.
inline std::int32_t VersionIn(const std::filesystem::path& file) {
    const auto bytes = platform::ReadWholeFile(file.string());
    if (!bytes) {
        return 0;
    }
    if (bytes->size() != 4) {
        return -1;
    }
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = value << 8 | static_cast<unsigned char>((*bytes)[static_cast<std::size_t>(i)]);
    }
    return static_cast<std::int32_t>(value);
}

// The main window as the pass drives it: every call in order, and the
// installed data version at each "n of m" step.
class RecordingUpdateView : public IUpdateView {
public:
    explicit RecordingUpdateView(std::string dataVersionFile)
        : dataVersionFile_(std::move(dataVersionFile)) {}

    void BeginUpdateDisplay(int count, const std::string& what, const std::string& host) override {
        shown = true;
        log.push_back("begin " + std::to_string(count) + " " + what + " | " + host);
    }
    void SetUpdateLine2(const std::string& text) override { log.push_back("line2 " + text); }
    void SetUpdateLine3(const std::string& text) override { log.push_back("line3 " + text); }
    void SetCurrentUpdate(int number) override {
        log.push_back("current " + std::to_string(number));
        installedAtStep.push_back(InstalledDataVersion());
    }
    void ShowProgress(int barWidth, const std::string& percent) override {
        ++progressCalls;
        if (barWidth < 0 || barWidth > 300) {
            ADD_FAILURE() << "bar width " << barWidth << " " << percent;
        }
    }
    void EndUpdateDisplay(const std::string& message) override {
        shown = false;
        log.push_back("end " + message);
    }
    bool IsDownloadShown() const override { return shown; }
    void ProcessPendingMessages() override {}
    void ShowUpdateNews(const std::string& url) override { log.push_back("news " + url); }
    void CloseMainWindow() override { log.push_back("close"); }
    void ReportUpdateFailure() override { log.push_back("report"); }
    void LaunchGame() override { log.push_back("launch"); }

    std::int32_t InstalledDataVersion() const { return VersionIn(dataVersionFile_); }

    std::vector<std::string> log;
    std::vector<std::int32_t> installedAtStep;
    int progressCalls = 0;
    bool shown = false;

private:
    std::string dataVersionFile_;
};

// A package of one file "<name>" holding text, below base.
inline std::string OneFilePackage(const std::string& base, const std::string& name,
                                  const std::string& text) {
    return Sz(base) + Sz("") + Le32(0) + Le32(1) + Sz("") + Sz(name) +
           Le32(static_cast<std::int32_t>(text.size())) + text;
}

inline std::string Scramble(const std::string& plain) {
    CStream stream = StreamOf(plain);
    stream.Encode();
    return Content(stream);
}

inline std::string Launcher(std::int32_t build) {
    const platform::VersionRecord record = platform::MakeVersionRecord(1, 0, 0, build);
    return "launcher program " + std::string(record.begin(), record.end());
}

class UpdateFixture : public ::testing::Test {
protected:
    UpdateFixture() : values(install.Str()), view(install.File("qvs.dat")) {
        for (const char* folder : {"updates", "status"}) {
            std::filesystem::remove_all(serverRoot.Path() / folder);
            std::filesystem::create_directories(serverRoot.Path() / folder);
        }
        WriteFile(install.File("qvs.exe"), Launcher(1));
        ServeFile("QVS.exe", Launcher(1));
    }

    // One server for the suite: starting one takes far longer than a pass.
    static void SetUpTestSuite() { shared = std::make_unique<SharedServer>(); }
    static void TearDownTestSuite() { shared.reset(); }

    // The data package of version n holds "data<n>.txt"; the client code of
    // version n "StartUp.class" below "MainClass\".
    void ServeDataVersions(int from, int to) {
        for (int n = from; n <= to; ++n) {
            const std::string name = "data" + std::to_string(n) + ".txt";
            ServeFile("qvs" + std::to_string(n) + ".ecd",
                      Scramble(OneFilePackage("", name, "data " + std::to_string(n))));
        }
    }
    void ServeClientCode(int version) {
        ServeFile("qvsc" + std::to_string(version) + ".ecd",
                  Scramble(OneFilePackage("MainClass\\", "StartUp.class",
                                          "client " + std::to_string(version))));
    }
    void ServeFile(const std::string& name, const std::string& content) {
        WriteFile((serverRoot.Path() / "updates" / name).string(), content);
    }
    static void WriteFile(const std::string& path, const std::string& content) {
        platform::WriteFileAtomically(path, content);
    }

    void Install(std::int32_t dataVersion, std::int32_t clientVersion) {
        WriteVersionFile(install.File("qvs.dat"), dataVersion);
        WriteVersionFile(install.File("qvsc.dat"), clientVersion);
    }

    // Points the pass at the server (or, withServer false, at ports where
    // nothing listens) and reads the installation as the launcher does at
    // start-up.
    void Start(bool withServer = true) {
        if (withServer) {
            server = &shared->server;
            if (!server->Ready()) { // fatal for the test, which would go on without it
                throw std::runtime_error("qvs-server did not start");
            }
        }
        const std::uint16_t updatePort = server ? server->updatePort : ExternalProcess::FreePort();
        const std::uint16_t httpPort = server ? server->httpPort : ExternalProcess::FreePort();
        StartUp(values).Run();
        values.UpdateServerHost = "127.0.0.1";
        values.UpdateServerPort = updatePort;
        values.Workers.ServerHost = "127.0.0.1";
        values.Workers.WebBaseUrl = "http://127.0.0.1:" + std::to_string(httpPort) + "/updates/";
        values.WebHostName = WebHostName;
        values.ServerHostName = ServerHostName;
        values.WorkerWaitMs = 3000;
    }

    std::string Cfg(const std::string& section, const std::string& key) const {
        return values.Config->ReadValue(section, key, "<none>");
    }
    std::string Installed(const std::string& name) const {
        return platform::ReadWholeFile(install.File(name)).value_or("<missing>");
    }

    struct SharedServer {
        TempDir root;
        ServerProcess server{root.Str(), root.File("server.log")};
    };
    static inline std::unique_ptr<SharedServer> shared;

    TempDir install;
    const TempDir& serverRoot = shared->root;
    ProcessValues values;
    RecordingUpdateView view;
    RecordingNetworkView network;
    RecordingPrompts prompts;
    RecordingShell shell;
    ServerProcess* server = nullptr;
};

} // namespace qvs::test
