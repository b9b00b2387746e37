#include "LaunchFixture.h"

#include "BuildSettings.h"
#include "launcher/ExitCleanUp.h"
#include "platform/FileSystem.h"
#include "signing/Ed25519.h"
#include "signing/UpdateSignature.h"
#include "support/WireBytes.h"
#include "system/JavaCommandLine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace qvs {
namespace {

namespace fs = std::filesystem;
using test::LaunchTest;
using test::ReadText;
using test::Scrambled;
using test::WithoutSeparator;
using test::WriteText;
using Events = std::vector<std::string>;

const std::string kClientCodeMessage =
    std::string("An Error occurred with the client code file.  Try one more time if it fails "
                "again contact ") +
    build::SupportEmail;

// Names in a directory, compared without letter case.
bool HasEntryIgnoringCase(const fs::path& directory, const std::string& name) {
    const auto lower = [](std::string text) {
        std::transform(text.begin(), text.end(), text.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return text;
    };
    for (const auto& entry : fs::directory_iterator(directory)) {
        if (lower(entry.path().filename().string()) == lower(name)) {
            return true;
        }
    }
    return false;
}

int FilesBelow(const fs::path& directory) {
    int count = 0;
    for (const auto& entry : fs::recursive_directory_iterator(directory)) {
        count += entry.is_regular_file() ? 1 : 0;
    }
    return count;
}

TEST_F(LaunchTest, ExtractsOnlyTheStartUpClassIntoAnEmptiedClassDirectory) {
    InstallClientCode("MainClass\\");
    WriteText(installPath / "MainClass" / "Old.class", "old");
    WriteText(installPath / "MainClass" / "old" / "Stale.class", "stale");
    MakeLaunch().LaunchGame();

    EXPECT_EQ(ReadText(installPath / "MainClass" / "StartUp.class"), "CAFEBABE-startup");
    EXPECT_FALSE(fs::exists(installPath / "MainClass" / "Old.class"));
    EXPECT_FALSE(fs::exists(installPath / "MainClass" / "old"));
    // The walk makes the directories it passes, but writes no other file.
    EXPECT_EQ(FilesBelow(installPath / "MainClass"), 1);
    EXPECT_TRUE(fs::exists(installPath / "qvsc.ecd")); // the client needs it whole
    EXPECT_TRUE(
        fs::equivalent(WithoutSeparator(values->ClientClassDir), installPath / "MainClass"));
#ifdef _WIN32
    const auto attributes = platform::GetAttributes(values->ClientClassDir);
    ASSERT_TRUE(attributes.has_value());
    EXPECT_TRUE(*attributes & platform::AttrHidden);
#endif
}

TEST_F(LaunchTest, StartsJavaThenWaitsAndCloses) {
    InstallClientCode("MainClass\\");
    MakeLaunch().LaunchGame();

    ASSERT_EQ(shell.programs.size(), 1u);
    EXPECT_EQ(shell.programs[0], JavaClientStart(installDir));
    EXPECT_EQ(view.events, (Events{"wait 14500", "close"}));
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_TRUE(prompts.questions.empty());
    EXPECT_EQ(javaChecks, 1);
}

TEST_F(LaunchTest, ExitCleanUpFindsTheExtractedClass) {
    InstallClientCode("MainClass\\");
    MakeLaunch().LaunchGame();

    EXPECT_TRUE(CleanUpClientClass(values->ClientClassDir, values->InstallDir()));
    EXPECT_FALSE(fs::exists(installPath / "MainClass" / "StartUp.class"));
}

TEST_F(LaunchTest, CreatesANestedClassDirectory) {
    InstallClientCode("classes\\v2\\");
    MakeLaunch().LaunchGame();

    EXPECT_EQ(ReadText(installPath / "classes" / "v2" / "StartUp.class"), "CAFEBABE-startup");
    EXPECT_EQ(shell.programs.size(), 1u);
}

TEST_F(LaunchTest, PackageWithoutStartUpClassStillStartsJava) {
    fs::remove(clientFolder.Path() / "StartUp.class");
    InstallClientCode("MainClass\\");
    MakeLaunch().LaunchGame();

    EXPECT_EQ(FilesBelow(installPath / "MainClass"), 0);
    EXPECT_EQ(shell.programs.size(), 1u);
    EXPECT_EQ(view.events, (Events{"wait 14500", "close"}));
}

struct MemoryCase {
    const char* name;
    MachineFigures figures;
    const char* memory;
    const char* available;
    const char* cpu;
};

class MemoryFigures : public LaunchTest, public ::testing::WithParamInterface<MemoryCase> {};

TEST_P(MemoryFigures, AreWrittenInWholeMiB) {
    figures = GetParam().figures;
    InstallClientCode("MainClass\\");
    MakeLaunch().LaunchGame();

    EXPECT_EQ(ConfigValue("MEMORY"), GetParam().memory);
    EXPECT_EQ(ConfigValue("AVAILABLE_MEMORY"), GetParam().available);
    EXPECT_EQ(ConfigValue("CPU"), GetParam().cpu);
    // The heap options never follow the machine.
    ASSERT_EQ(shell.programs.size(), 1u);
    EXPECT_NE(shell.programs[0].parameters.find(" -ms64m -mx128m "), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    LaunchTest, MemoryFigures,
    ::testing::Values(MemoryCase{"Exact", {536870912, 268435456, 2400}, "512", "256", "2400"},
                      MemoryCase{"Truncated", {536870911, 1048575, 0}, "511", "0", "0"},
                      MemoryCase{"Above4GiB",
                                 {17179869184ULL + 1048575, 6442450944ULL, 4294967295U},
                                 "16384",
                                 "6144",
                                 "4294967295"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LaunchTest, AnUnwritableConfigurationDoesNotStopTheGame) {
    values->Config = std::make_unique<CConfig>(installDir + "missing-dir/qvs.cfg");
    InstallClientCode("MainClass\\");
    MakeLaunch().LaunchGame();

    EXPECT_EQ(shell.programs.size(), 1u);
    EXPECT_EQ(view.events, (Events{"wait 14500", "close"}));
}

// A client code file that cannot serve: the version files of the client
// code go (whatever their case), the player is told, the launcher closes.
// Parameters: the case and the name the file is stored under.
class BrokenClientCode : public LaunchTest,
                         public ::testing::WithParamInterface<std::pair<std::string, std::string>> {
protected:
    void SetUp() override {
        outside = root.Path() / "Elsewhere";
        WriteText(outside / "keep.txt", "outside");
        WriteText(root.Path() / "parent-keep.txt", "parent");
        WriteText(installPath / "qvs.dat", "data");
    }
    fs::path outside;
};

std::string ContentFor(const std::string& caseName, const fs::path& rootPath,
                       const fs::path& clientFolder) {
    using test::Le32;
    using test::Sz;
    if (caseName == "Empty") {
        return "";
    }
    if (caseName == "BaseOnly") {
        return Scrambled(Sz("MainClass\\"));
    }
    if (caseName == "CutInFile") {
        return Scrambled(Sz("MainClass\\") + Sz("") + Le32(0) + Le32(1) + Sz("") +
                         Sz("StartUp.class") + Le32(10) + "abc");
    }
    if (caseName == "FileEscapesClassDir") {
        return Scrambled(Sz("MainClass\\") + Sz("") + Le32(0) + Le32(1) + Sz("..\\..\\") +
                         Sz("StartUp.class") + Le32(3) + "abc");
    }
    if (caseName == "AbsoluteOutside") {
        return test::ClientCodeOf(clientFolder, (rootPath / "Elsewhere" / "").string());
    }
    if (caseName == "Parent") {
        return test::ClientCodeOf(clientFolder, "..\\");
    }
    if (caseName == "OutAndAway") {
        return test::ClientCodeOf(clientFolder, "MainClass\\..\\..\\Elsewhere\\");
    }
    return "";
}

TEST_P(BrokenClientCode, DeletesTheClientCodeFilesAndCloses) {
    const std::string caseName = GetParam().first;
    if (caseName != "Missing") {
        WriteText(installPath / GetParam().second,
                  ContentFor(caseName, root.Path(), clientFolder.Path()));
    }
    WriteText(installPath / "Qvsc.Dat", "7777");
    MakeLaunch().LaunchGame();

    EXPECT_FALSE(HasEntryIgnoringCase(installPath, "qvsc.ecd"));
    EXPECT_FALSE(HasEntryIgnoringCase(installPath, "qvsc.dat"));
    EXPECT_EQ(prompts.messages, (std::vector<std::string>{kClientCodeMessage}));
    EXPECT_TRUE(prompts.questions.empty());
    EXPECT_EQ(view.events, (Events{"close"}));
    EXPECT_TRUE(shell.programs.empty());
    EXPECT_EQ(javaChecks, 1);
    // Nothing outside the installation was touched, nor its other files.
    EXPECT_EQ(ReadText(outside / "keep.txt"), "outside");
    EXPECT_EQ(ReadText(root.Path() / "parent-keep.txt"), "parent");
    EXPECT_EQ(ReadText(installPath / "qvs.dat"), "data");
    EXPECT_FALSE(fs::exists(outside / "StartUp.class"));
    EXPECT_FALSE(fs::exists(root.Path() / "StartUp.class"));
}

INSTANTIATE_TEST_SUITE_P(
    LaunchTest, BrokenClientCode,
    ::testing::Values(std::pair<std::string, std::string>{"Missing", ""},
                      std::pair<std::string, std::string>{"Empty", "qvsc.ecd"},
                      std::pair<std::string, std::string>{"BaseOnly", "QVSC.ECD"},
                      std::pair<std::string, std::string>{"CutInFile", "qvsc.ecd"},
                      std::pair<std::string, std::string>{"FileEscapesClassDir", "qvsc.ecd"},
                      std::pair<std::string, std::string>{"AbsoluteOutside", "qvsc.ecd"},
                      std::pair<std::string, std::string>{"Parent", "qvsc.ecd"},
                      std::pair<std::string, std::string>{"OutAndAway", "QvsC.ecd"}),
    [](const auto& info) { return info.param.first; });

// With keys in the build the client code is checked again at every start:
// one altered on disk, unsigned, or signed for another version than the
// installed one is a damaged client code file.
TEST_F(LaunchTest, WithKeysOnlyTheSignedClientCodeOfTheInstalledVersionStarts) {
    const Ed25519::KeyPair keys = Ed25519::Generate();
    values->Workers.UpdatePublicKeys = {keys.publicKey};
    values->LocalClientCodeVersion = 3;
    const std::string code = test::ClientCodeOf(clientFolder.Path(), "MainClass\\");
    const std::string genuine = code + UpdateSignature::Sign(keys.seed, {"qvsc", "3"}, code);
    std::string altered = genuine;
    altered[code.size() - 1] ^= 0x01;
    const struct {
        std::string file;
        bool starts;
    } cases[] = {{genuine, true},
                 {altered, false},
                 {code, false},
                 {code + UpdateSignature::Sign(keys.seed, {"qvsc", "2"}, code), false}};
    for (const auto& c : cases) {
        WriteText(installPath / "qvsc.ecd", c.file);
        prompts.messages.clear();
        shell.programs.clear();
        MakeLaunch().LaunchGame();
        EXPECT_EQ(shell.programs.size(), c.starts ? 1U : 0U);
        EXPECT_EQ(prompts.messages.empty(), c.starts);
        EXPECT_EQ(fs::exists(installPath / "qvsc.ecd"), c.starts);
    }
}

TEST_F(LaunchTest, ARefusedClassDirectoryIsNotRecordedForTheExitCleanUp) {
    WriteText(installPath / "qvsc.ecd", test::ClientCodeOf(clientFolder.Path(), "..\\"));
    MakeLaunch().LaunchGame();
    EXPECT_TRUE(values->ClientClassDir.empty());
}

#ifndef _WIN32
TEST_F(LaunchTest, ALinkLeadingOutOfTheInstallationIsRefused) {
    const fs::path outside = root.Path() / "Elsewhere";
    WriteText(outside / "keep.txt", "outside");
    fs::create_directory_symlink(outside, installPath / "MainClass");
    InstallClientCode("MainClass\\");
    MakeLaunch().LaunchGame();

    EXPECT_EQ(ReadText(outside / "keep.txt"), "outside");
    EXPECT_FALSE(fs::exists(outside / "StartUp.class"));
    EXPECT_EQ(prompts.messages, (std::vector<std::string>{kClientCodeMessage}));
    EXPECT_TRUE(shell.programs.empty());
}
#endif

// Names that mean the installation directory itself: nothing in it is
// deleted, it is not hidden, and the class is extracted all the same.
class ClassDirectoryIsInstallation : public LaunchTest,
                                     public ::testing::WithParamInterface<std::string> {};

TEST_P(ClassDirectoryIsInstallation, NothingIsEmptied) {
    WriteText(installPath / "qvs.dat", "data");
    WriteText(installPath / "sounds" / "stoneclick.wav", "RIFF");
    const std::string name = GetParam() == "<absolute>" ? installDir : GetParam();
    InstallClientCode(name);
    MakeLaunch().LaunchGame();

    EXPECT_EQ(ReadText(installPath / "qvs.dat"), "data");
    EXPECT_EQ(ReadText(installPath / "sounds" / "stoneclick.wav"), "RIFF");
    EXPECT_TRUE(fs::exists(installPath / "qvsc.ecd"));
    EXPECT_EQ(ReadText(installPath / "StartUp.class"), "CAFEBABE-startup");
    EXPECT_EQ(shell.programs.size(), 1u);
    EXPECT_TRUE(prompts.messages.empty());
    const auto attributes = platform::GetAttributes(installDir);
    ASSERT_TRUE(attributes.has_value());
    EXPECT_FALSE(*attributes & platform::AttrHidden);
    // The exit clean-up never deletes from the installation directory.
    EXPECT_FALSE(CleanUpClientClass(values->ClientClassDir, values->InstallDir()));
}

INSTANTIATE_TEST_SUITE_P(LaunchTest, ClassDirectoryIsInstallation,
                         ::testing::Values("", ".\\", "MainClass\\..\\", "<absolute>"));

// Java missing: the offer, then Play Game enabled again and nothing else.
struct JavaCase {
    const char* name;
    std::vector<bool> answers;
    std::vector<std::string> installers; // present in the installation
    std::size_t questions;
    std::string openedFile; // empty: none
    bool openedVendorPage;
};

class JavaMissing : public LaunchTest, public ::testing::WithParamInterface<JavaCase> {};

TEST_P(JavaMissing, OffersJavaAndStaysOpen) {
    const JavaCase& param = GetParam();
    javaInstalled = false;
    prompts.answers.assign(param.answers.begin(), param.answers.end());
    for (const std::string& installer : param.installers) {
        WriteText(installPath / installer, "MZ");
    }
    InstallClientCode("MainClass\\");
    MakeLaunch().LaunchGame();

    ASSERT_EQ(prompts.questions.size(), param.questions);
    EXPECT_EQ(prompts.questions[0], "You need to have Java 1.4 or greater installed on your "
                                    "machine to play Quorvash.  Would you like to install it now?");
    if (param.questions == 2) {
        EXPECT_EQ(prompts.questions[1],
                  std::string("We could not find the installation for java.  Please download and "
                              "install the java installation files at ") +
                      build::JavaSite +
                      ".  Would you like your default web browser to be directed to this page?");
    }
    if (param.openedFile.empty()) {
        EXPECT_TRUE(shell.files.empty());
    } else {
        ASSERT_EQ(shell.files.size(), 1u);
        EXPECT_TRUE(fs::equivalent(shell.files[0].path, installPath / param.openedFile));
        EXPECT_EQ(shell.files[0].workingDirectory, installDir);
    }
    EXPECT_EQ(shell.urls, param.openedVendorPage ? std::vector<std::string>{build::JavaSite}
                                                 : std::vector<std::string>{});
    EXPECT_EQ(view.events, (Events{"enable"}));
    EXPECT_TRUE(shell.programs.empty());
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(ConfigValue("MEMORY"), "<unset>");
    EXPECT_FALSE(fs::exists(installPath / "MainClass"));
    EXPECT_TRUE(values->ClientClassDir.empty());
}

const char* const kBetaInstaller = "j2re-1_4_2-beta-bin-b12-windows-i586-16_jan_2003.exe";
const char* const kReleaseInstaller = "j2re-1_4_1_01-windows-i586.exe";

INSTANTIATE_TEST_SUITE_P(
    LaunchTest, JavaMissing,
    ::testing::Values(
        JavaCase{"No", {false}, {kBetaInstaller, kReleaseInstaller}, 1, "", false},
        JavaCase{"BetaInstallerFirst",
                 {true},
                 {kBetaInstaller, kReleaseInstaller},
                 1,
                 kBetaInstaller,
                 false},
        JavaCase{"ReleaseInstaller", {true}, {kReleaseInstaller}, 1, kReleaseInstaller, false},
        JavaCase{"VendorPage", {true, true}, {}, 2, "", true},
        JavaCase{"NoVendorPage", {true, false}, {}, 2, "", false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace qvs
