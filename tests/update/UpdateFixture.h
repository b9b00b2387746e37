// An installation and an update server for one test: a fresh installation
// directory with qvs.cfg and the version files, the suite's qvs-server with
// its served folder emptied for each test, and the main window as recorded
// calls.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "launcher/CConfig.h"
#include "launcher/ProcessValues.h"
#include "launcher/StartUp.h"
#include "launcher/UpdatePass.h"
#include "launcher/VersionFile.h"
#include "platform/VersionRecord.h"
#include "support/PackageBytes.h"
#include "support/QvsServer.h"
#include "support/RawFile.h"
#include "support/RecordingNetworkView.h"
#include "support/RecordingPrompts.h"
#include "support/RecordingShell.h"
#include "support/Scramble.h"
#include "support/TempDir.h"
#include "update/RecordingUpdateView.h"

namespace qvs::test {

inline constexpr const char* WebHostName = "updates.quorvash.test";
inline constexpr const char* ServerHostName = "game.quorvash.test";
inline constexpr const char* WebHostCaps = "UPDATES.QUORVASH.TEST";
inline constexpr const char* ServerHostCaps = "GAME.QUORVASH.TEST";

// A scrambled package of one file "<name>" holding text, below base.
inline std::string ScrambledPackage(const std::string& base, const std::string& name,
                                    const std::string& text) {
    return Scramble(PackageBytes().Str(base).Str("").Int(0).Int(1).File("", name, text).Bytes());
}

inline std::string Launcher(std::int32_t build) {
    const platform::VersionRecord record = platform::MakeVersionRecord(1, 0, 0, build);
    return "launcher program " + std::string(record.begin(), record.end());
}

class UpdateFixture : public ::testing::Test {
protected:
    UpdateFixture() : values(install.Str()), view(install.File("qvs.dat")) {
        server.Clear();
        WriteRawFile(install.File("qvs.exe"), Launcher(1));
        server.Serve("QVS.exe", Launcher(1));
    }

    // One server for the suite: starting one takes far longer than a pass.
    static void SetUpTestSuite() { shared = std::make_unique<QvsServer>(); }
    static void TearDownTestSuite() { shared.reset(); }

    // The data package of version n holds "data<n>.txt"; the client code of
    // version n "StartUp.class" below "MainClass\".
    void ServeDataVersions(int from, int to) {
        for (int n = from; n <= to; ++n) {
            const std::string name = "data" + std::to_string(n) + ".txt";
            server.Serve("qvs" + std::to_string(n) + ".ecd",
                         ScrambledPackage("", name, "data " + std::to_string(n)));
        }
    }
    void ServeClientCode(int version) {
        server.Serve(
            "qvsc" + std::to_string(version) + ".ecd",
            ScrambledPackage("MainClass\\", "StartUp.class", "client " + std::to_string(version)));
    }

    void Install(std::int32_t dataVersion, std::int32_t clientVersion) {
        WriteVersionFile(install.File("qvs.dat"), dataVersion);
        WriteVersionFile(install.File("qvsc.dat"), clientVersion);
    }

    // Points the pass at the server (or, withServer false, at ports where
    // nothing listens) and reads the installation as the launcher does at
    // start-up.
    void Start(bool withServer = true) {
        if (withServer && !server.Ready()) { // fatal for the test, which would go on without it
            throw std::runtime_error("qvs-server did not start");
        }
        const std::uint16_t updatePort =
            withServer ? server.updatePort : ExternalProcess::FreePort();
        const std::uint16_t httpPort = withServer ? server.httpPort : ExternalProcess::FreePort();
        StartUp(values).Run();
        values.UpdateServerHost = "127.0.0.1";
        values.UpdateServerPort = updatePort;
        values.Workers.ServerHost = "127.0.0.1";
        values.Workers.WebBaseUrl = "http://127.0.0.1:" + std::to_string(httpPort) + "/updates/";
        values.WebHostName = WebHostName;
        values.ServerHostName = ServerHostName;
        values.WorkerWaitMs = 3000;
    }

    void RunPass() { UpdatePass(values, view, network, prompts, shell).Run(); }
    std::string Cfg(const std::string& section, const std::string& key) const {
        return values.Config->ReadValue(section, key, "<none>");
    }
    std::string Installed(const std::string& name) const {
        return ReadRawFile(install.File(name)).value_or("<missing>");
    }

    static inline std::unique_ptr<QvsServer> shared;
    QvsServer& server = *shared;
    TempDir install;
    ProcessValues values;
    RecordingUpdateView view;
    RecordingNetworkView network;
    RecordingPrompts prompts;
    RecordingShell shell;
};

} // namespace qvs::test
