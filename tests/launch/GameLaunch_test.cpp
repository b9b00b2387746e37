#include "BuildSettings.h"
#include "launcher/CConfig.h"
#include "launcher/ClassDirectory.h"
#include "launcher/ExitCleanUp.h"
#include "launcher/GameLaunch.h"
#include "launcher/ILaunchView.h"
#include "launcher/ProcessValues.h"
#include "platform/AsciiCase.h"
#include "platform/FileSystem.h"
#include "protocol/CStream.h"
#include "signing/Ed25519.h"
#include "signing/UpdateSignature.h"
#include "support/RawFile.h"
#include "support/RecordingPrompts.h"
#include "support/RecordingShell.h"
#include "support/TempDir.h"
#include "support/TreeSnapshot.h"
#include "system/CDirectory.h"
#include "system/JavaCommandLine.h"
#include "system/PackageWriter.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace qvs {
namespace {

namespace fs = std::filesystem;
using Events = std::vector<std::string>;
using Lines = std::vector<std::string>;
using Tree = std::map<std::string, std::string>;

class RecordingLaunchView : public ILaunchView {
public:
    void EnablePlayGame() override { events.push_back("enable"); }
    void WaitWithoutInput(std::chrono::milliseconds duration) override {
        events.push_back("wait " + std::to_string(duration.count()));
    }
    void CloseMainWindow() override { events.push_back("close"); }

    std::vector<std::string> events;
};

// The scrambled client code file of a folder, with baseName as its class
// directory, as the update server hands it out.
std::string ClientCodeOf(const std::filesystem::path& folder, const std::string& baseName) {
    CStream package;
    PackageWriter::Write(package, folder.string(), baseName);
    package.Encode();
    return std::string(package.View());
}

// An installation "Quorvash" inside a temp dir (so its parent is ours too),
// with the process-wide values a launch needs and recording seams.
class LaunchTest : public ::testing::Test {
protected:
    LaunchTest() {
        fs::create_directories(installPath);
        values.LocalClientCodeVersion = 3;
        values.Config = std::make_unique<CConfig>(CConfig::PathIn(installDir));
        values.Directory = std::make_unique<CDirectory>();
        // What the client code files of these tests carry: the start-up
        // class and a helper class that must not be extracted.
        fs::create_directories(clientFolder.Path() / "game");
        test::WriteRawFile(clientFolder.Path() / "StartUp.class", "CAFEBABE-startup");
        test::WriteRawFile(clientFolder.Path() / "game" / "Helper.class", "CAFEBABE-helper");
    }

    // Launches with fresh recorders, the player answering as told.
    void Launch(std::deque<bool> answers = {}) {
        view = RecordingLaunchView();
        prompts = test::RecordingPrompts();
        prompts.answers = std::move(answers);
        shell = test::RecordingShell();
        GameLaunch::Probes probes;
        probes.checkJava = [this] { return javaInstalled; };
        probes.measureMachine = [this] { return figures; };
        GameLaunch(values, view, prompts, shell, probes).LaunchGame();
    }

    // A build with keys checks the client code again at every start: only
    // the file signed for the installed version is whole.
    std::string Signed(const std::string& code, const std::string& version = "3") const {
        return code + UpdateSignature::Sign(keys.seed, {"qvsc", version}, code);
    }

    test::TempDir root;
    test::TempDir clientFolder;
    std::filesystem::path installPath = root.Path() / "Quorvash";
    std::string installDir = (installPath / "").string();
    ProcessValues values{installDir};
    RecordingLaunchView view;
    test::RecordingPrompts prompts;
    test::RecordingShell shell;
    bool javaInstalled = true;
    MachineFigures figures;
    const Ed25519::KeyPair keys = Ed25519::Generate();
};

const std::string kClientCodeMessage =
    std::string("An Error occurred with the client code file.  Try one more time if it fails "
                "again contact ") +
    build::SupportEmail;

// Only a class directory inside the installation is emptied and hidden; one
// that is the installation itself keeps its files, and the exit clean-up
// never deletes from it. The walk makes the directories it passes, but
// writes no other file. The machine figures are only a record: a
// configuration that cannot be written does not stop the start. The second
// start is of a build with keys.
TEST_F(LaunchTest, ExtractsTheStartUpClassAndStartsJava) {
    figures = {17179869184ULL + 1048575, 1048575, 4294967295U};
    for (const bool inside : {true, false}) {
        SCOPED_TRACE(inside ? "inside" : "the installation");
        const fs::path classDir = inside ? installPath / "MainClass" : installPath;
        const std::string code = ClientCodeOf(clientFolder.Path(), inside ? "MainClass\\" : ".\\");
        test::WriteRawFile(installPath / "qvsc.ecd", inside ? code : Signed(code));
        fs::create_directories(classDir / "old");
        test::WriteRawFile(classDir / "Old.class", "old");
        test::WriteRawFile(classDir / "old" / "Stale.class", "stale");
        if (!inside) {
            values.Workers.UpdatePublicKeys = {keys.publicKey};
            values.Config = std::make_unique<CConfig>(installDir + "missing-dir/qvs.cfg");
        }
        Launch();

        const auto extracted = test::TreeSnapshot(classDir);
        EXPECT_EQ(extracted.at("StartUp.class"), "CAFEBABE-startup");
        EXPECT_EQ(extracted.contains("Old.class"), !inside);
        EXPECT_EQ(extracted.contains("old/Stale.class"), !inside);
        EXPECT_FALSE(extracted.contains("game/Helper.class") || extracted.contains("Helper.class"));
        EXPECT_TRUE(fs::exists(installPath / "qvsc.ecd")); // the client needs it whole
#ifdef _WIN32
        EXPECT_EQ((platform::GetAttributes(values.ClientClassDir).value_or(0) &
                   platform::AttrHidden) != 0,
                  inside);
#endif
        EXPECT_EQ(shell.programs, std::vector<ProgramStart>{JavaClientStart(installDir)});
        EXPECT_EQ(view.events, (Events{"wait 14500", "close"}));
        EXPECT_TRUE(prompts.messages.empty());
        // The exit clean-up finds what was extracted (a directory named
        // without its separator: the C runtime of Windows cannot stat one with it).
        EXPECT_TRUE(fs::equivalent(fs::path(values.ClientClassDir).parent_path(), classDir));
        EXPECT_EQ(CleanUpClientClass(values.ClientClassDir, values.InstallDir()), inside);
        EXPECT_EQ(fs::exists(classDir / "StartUp.class"), !inside);
    }
    // Whole MiB, truncated; the heap options in the start never follow the machine.
    values.Config = std::make_unique<CConfig>(CConfig::PathIn(installDir));
    EXPECT_EQ(values.Config->ReadValue("CONFIG", "MEMORY", ""), "16384");
    EXPECT_EQ(values.Config->ReadValue("CONFIG", "AVAILABLE_MEMORY", ""), "0");
    EXPECT_EQ(values.Config->ReadValue("CONFIG", "CPU", ""), "4294967295");
    // Nor does the exit clean-up delete from the installation however it is named.
    std::vector<std::string> ways = {"", installDir + "classes/../", installDir + "./"};
#ifndef _WIN32
    ways.push_back(platform::UpperAscii(root.Str()) + "Quorvash/");
    fs::create_directory_symlink(installPath, root.Path() / "link");
    ways.push_back((root.Path() / "link" / "").string());
#endif
    for (const std::string& way : ways) {
        EXPECT_FALSE(CleanUpClientClass(way, installDir)) << way;
        EXPECT_TRUE(fs::exists(installPath / "StartUp.class")) << way;
    }
}

// A client code file that cannot serve (missing, cut, a class directory
// outside; in a build with keys, unsigned, signed for another version or cut
// before it was signed;
// what a hostile package holds is CDirectoryExtract's, where each name lies
// ClassDirectoryTest's, a signature that does not match the bytes
// UpdateSignature's): the version files of the client code go, whatever their
// case, the player is told, the launcher closes, and nothing outside the
// installation is touched.
TEST_F(LaunchTest, ABrokenClientCodeFileIsDeletedAndTheLauncherCloses) {
    test::WriteRawFile(root.Path() / "parent-keep.txt", "parent");
    test::WriteRawFile(installPath / "qvs.dat", "data");
    const std::string good = ClientCodeOf(clientFolder.Path(), "MainClass\\");
    const std::string outside = ClientCodeOf(clientFolder.Path(), "..\\");
    const std::tuple<std::string, std::string, bool> cases[] = {
        {"", "", false},
        {"QVSC.ECD", good.substr(0, good.size() - 2), false},
        {"qvsc.ecd", outside, false},
        {"qvsc.ecd", good, true},
        {"qvsc.ecd", Signed(good, "2"), true},
        // Cut, then signed: its trailer must not complete the start-up class.
        {"qvsc.ecd", Signed(good.substr(0, good.size() - 2)), true}};
    for (const auto& [file, content, withKeys] : cases) {
        SCOPED_TRACE(file + " of " + std::to_string(content.size()));
        if (withKeys) {
            values.Workers.UpdatePublicKeys = {keys.publicKey};
        }
        if (!file.empty()) {
            test::WriteRawFile(installPath / file, content);
        }
        test::WriteRawFile(installPath / "Qvsc.Dat", "7777");
        values.ClientClassDir.clear();
        Launch();

        EXPECT_FALSE(platform::FileExists(installDir + "qvsc.ecd"));
        EXPECT_FALSE(platform::FileExists(installDir + "qvsc.dat"));
        EXPECT_EQ(prompts.messages, Lines{kClientCodeMessage});
        EXPECT_EQ(view.events, (Events{"close"}));
        if (content == outside) {
            EXPECT_TRUE(values.ClientClassDir.empty()); // nothing for the exit clean-up
        }
        // Outside the installation nothing changed, nor its other files.
        Tree kept = test::TreeSnapshot(root.Path());
        std::erase_if(kept, [](const auto& entry) {
            return entry.first.starts_with("Quorvash/") && entry.first != "Quorvash/qvs.dat";
        });
        EXPECT_EQ(kept, (Tree{{"Quorvash/qvs.dat", "data"}, {"parent-keep.txt", "parent"}}));
        EXPECT_TRUE(prompts.questions.empty());
        EXPECT_TRUE(shell.programs.empty());
    }
}

// Java missing: the offer (an installer shipped beside the launcher, the
// beta first, else the vendor's page), then Play Game enabled again and
// nothing else.
TEST_F(LaunchTest, WithoutJavaItIsOfferedAndTheLauncherStaysOpen) {
    const std::string beta = "j2re-1_4_2-beta-bin-b12-windows-i586-16_jan_2003.exe";
    const std::string release = "j2re-1_4_1_01-windows-i586.exe";
    const std::string question = "You need to have Java 1.4 or greater installed on your machine "
                                 "to play Quorvash.  Would you like to install it now?";
    const std::string vendorQuestion =
        std::string("We could not find the installation for java.  Please download and install "
                    "the java installation files at ") +
        build::JavaSite + ".  Would you like your default web browser to be directed to this page?";
    const auto expectOffer = [&](const Lines& questions, const Lines& opened) {
        EXPECT_EQ(prompts.questions, questions);
        Lines seen = shell.urls;
        for (const auto& file : shell.files) {
            seen.push_back(file.path);
            EXPECT_EQ(file.workingDirectory, installDir);
        }
        EXPECT_EQ(seen, opened);
        EXPECT_EQ(view.events, (Events{"enable"}));
        EXPECT_TRUE(prompts.messages.empty());
    };
    javaInstalled = false;
    test::WriteRawFile(installPath / beta, "MZ");
    test::WriteRawFile(installPath / release, "MZ");
    Launch({false});
    expectOffer({question}, {});
    Launch({true});
    expectOffer({question}, {installDir + beta});
    fs::remove(installPath / beta);
    Launch({true});
    expectOffer({question}, {installDir + release});
    fs::remove(installPath / release);
    Launch({true, true});
    expectOffer({question, vendorQuestion}, {build::JavaSite});
}

// Windows passes the parameter text on, with blanks in the installation
// directory inside its quotes; POSIX passes the argument vector, with the
// Windows separators of a stored path mapped. Both are built from the same items.
TEST(JavaCommandLine, EachPlatformsStartOfTheClient) {
    const ProgramStart windows = WindowsJavaClientStart("C:\\Program Files\\Q\\");
    EXPECT_EQ(windows.program, "javaw.exe ");
    EXPECT_EQ(windows.parameters,
              "-cp \"C:\\Program Files\\Q;C:\\Program Files\\Q\\plugins\\timer.jar\"  "
              "-Djava.library.path=\"C:\\Program Files\\Q\\plugins\" -ms64m -mx128m "
              "MainClass.StartUp ");

    const ProgramStart posix = PosixJavaClientStart("/opt\\quorvash game\\");
    EXPECT_EQ(posix.program, "java");
    EXPECT_EQ(posix.arguments,
              (Lines{"-cp", "/opt/quorvash game:/opt/quorvash game/plugins/timer.jar",
                     "-Djava.library.path=/opt/quorvash game/plugins", "-ms64m", "-mx128m",
                     "MainClass.StartUp"}));
}

// Relative names count from the installation, absolute ones stand as they
// are, and links are followed.
TEST(ClassDirectoryTest, PlacesNamesRelativeToTheInstallation) {
    test::TempDir root;
    const fs::path install = root.Path() / "Quorvash";
    const std::string installDir = (install / "").string();
    fs::create_directories(install / "MainClass");
    constexpr auto Install = ClassDirectoryPlace::InstallDir;
    constexpr auto In = ClassDirectoryPlace::Inside;
    constexpr auto Out = ClassDirectoryPlace::Outside;
    std::vector<std::pair<std::string, ClassDirectoryPlace>> cases = {
        {"", Install},
        {"MainClass\\..\\", Install},
        {installDir, Install},
        {"MainClass", In},
        {"not\\yet\\made\\", In},
        {"..\\Quorvash\\MainClass\\", In},
        {(install / "MainClass" / "").string(), In},
        {"MainClass\\..\\..\\Elsewhere\\", Out},
        {"..\\QuorvashOld\\", Out},
        {(root.Path() / "Other" / "").string(), Out}};
#ifndef _WIN32
    fs::create_directory(root.Path() / "Elsewhere");
    fs::create_directory_symlink(root.Path() / "Elsewhere", install / "out");
    fs::create_directory_symlink(install / "MainClass", install / "in");
    fs::create_directory_symlink(install, install / "self");
    cases.insert(cases.end(), {{"out\\", Out}, {"in\\", In}, {"self\\", Install}});
#endif
    for (const auto& [name, place] : cases) {
        EXPECT_EQ(ResolveClassDirectory(name, installDir).place, place) << '"' << name << '"';
    }
    // The path is absolute, with one trailing separator, whatever the letter case given.
    const std::string path = ResolveClassDirectory("MAINCLASS", installDir).path;
    const auto separator = static_cast<char>(fs::path::preferred_separator);
    EXPECT_TRUE(path.ends_with(separator) && !path.ends_with(std::string(2, separator))) << path;
    EXPECT_TRUE(fs::path(path).is_absolute());
    EXPECT_TRUE(fs::equivalent(fs::path(path).parent_path(), install / "MainClass"));
    // Every level is made, unless a file is in the way.
    EXPECT_TRUE(MakeClassDirectory(ResolveClassDirectory("a\\b\\c\\", installDir).path));
    EXPECT_TRUE(fs::is_directory(install / "a" / "b" / "c"));
    test::WriteRawFile(install / "f", "file");
    EXPECT_FALSE(MakeClassDirectory(ResolveClassDirectory("f\\b\\", installDir).path));
    EXPECT_EQ(test::ReadRawFile(install / "f"), "file");
}

} // namespace
} // namespace qvs
