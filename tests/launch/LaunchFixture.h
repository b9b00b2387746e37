// Shared pieces of the game launch tests: a recording main window, client
// code files built from real folders, and an installation in a temp dir.
#pragma once

#include "launcher/CConfig.h"
#include "launcher/GameLaunch.h"
#include "launcher/ILaunchView.h"
#include "launcher/ProcessValues.h"
#include "protocol/CStream.h"
#include "support/RawFile.h"
#include "support/RecordingPrompts.h"
#include "support/RecordingShell.h"
#include "support/TempDir.h"
#include "system/CDirectory.h"
#include "system/PackageWriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace qvs::test {

class RecordingLaunchView : public ILaunchView {
public:
    void EnablePlayGame() override { events.push_back("enable"); }
    void WaitWithoutInput(std::chrono::milliseconds duration) override {
        events.push_back("wait " + std::to_string(duration.count()));
    }
    void CloseMainWindow() override { events.push_back("close"); }

    std::vector<std::string> events;
};

// "" for a missing file, which several cases expect.
inline std::string ReadText(const std::filesystem::path& path) {
    return test::ReadRawFile(path).value_or("");
}

inline void WriteText(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    test::WriteRawFile(path, text);
}

// A directory path without its trailing separator: the C runtime of Windows
// cannot stat a directory named with one.
inline std::filesystem::path WithoutSeparator(const std::string& directory) {
    return std::filesystem::path(directory).parent_path();
}

// The scrambled client code file of a folder, with baseName as its class
// directory, as the update server hands it out.
inline std::string ClientCodeOf(const std::filesystem::path& folder, const std::string& baseName) {
    CStream package;
    PackageWriter::Write(package, folder.string(), baseName);
    package.Encode();
    return std::string(package.View());
}

inline std::string Scrambled(const std::string& plain) {
    CStream stream;
    stream.Write(plain.data(), plain.size());
    stream.Encode();
    return std::string(stream.View());
}

// An installation "Quorvash" inside a temp dir (so its parent is ours too),
// with the process-wide values a launch needs and recording seams.
class LaunchTest : public ::testing::Test {
protected:
    LaunchTest() {
        std::filesystem::create_directories(installPath);
        values = std::make_unique<ProcessValues>(installDir);
        values->Config = std::make_unique<CConfig>(CConfig::PathIn(installDir));
        values->Directory = std::make_unique<CDirectory>();
        // What the client code files of these tests carry: the start-up
        // class and a helper class that must not be extracted.
        WriteText(clientFolder.Path() / "StartUp.class", "CAFEBABE-startup");
        WriteText(clientFolder.Path() / "game" / "Helper.class", "CAFEBABE-helper");
    }

    GameLaunch MakeLaunch() {
        GameLaunch::Probes probes;
        probes.checkJava = [this] {
            ++javaChecks;
            return javaInstalled;
        };
        probes.measureMachine = [this] { return figures; };
        return GameLaunch(*values, view, prompts, shell, probes);
    }

    void InstallClientCode(const std::string& baseName) {
        WriteText(installPath / "qvsc.ecd", ClientCodeOf(clientFolder.Path(), baseName));
    }

    std::string ConfigValue(const std::string& key) const {
        return values->Config->ReadValue("CONFIG", key, "<unset>");
    }

    TempDir root;
    TempDir clientFolder;
    std::filesystem::path installPath = root.Path() / "Quorvash";
    std::string installDir = (installPath / "").string();
    std::unique_ptr<ProcessValues> values;
    RecordingLaunchView view;
    RecordingPrompts prompts;
    RecordingShell shell;
    bool javaInstalled = true;
    int javaChecks = 0;
    MachineFigures figures{536870912, 268435456, 2400};
};

} // namespace qvs::test
