// The demo server folder as the build leaves it: its packages list and
// extract with qvs-pack and the client code yields the start-up class where
// the launch looks for it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "BuildSettings.h"
#include "platform/FileVersion.h"
#include "platform/Process.h"
#include "protocol/CStream.h"
#include "support/RawFile.h"
#include "support/TempDir.h"
#include "system/CDirectory.h"

namespace qvs::test {
namespace {

namespace fs = std::filesystem;

const fs::path kServer = QVS_DEMO_SERVER;
const fs::path kUpdates = kServer / "updates";

platform::CapturedOutput Pack(const std::string& arguments) {
    std::string command = QVS_PACK_PATH " ";
    return platform::RunCapturingOutput(command.append(arguments));
}

bool StartsWith(const std::optional<std::string>& bytes, std::string_view magic) {
    return bytes && bytes->starts_with(magic);
}

TEST(DemoServerFolderTest, LauncherVersionIsTheBuiltOne) {
    // Equal, so the demo launcher does not replace itself.
    const platform::FileVersion expected{build::VersionMajor, build::VersionMinor,
                                         build::VersionRelease, build::VersionBuild};
    EXPECT_EQ(platform::GetFileInformation((kUpdates / "QVS.exe").string()), expected);
}

// Every data set extracted, oldest first, as the update pass does.
TEST(DemoServerFolderTest, DataSetsExtractInOrder) {
    TempDir install;
    TempDir third;
    for (const auto& [set, into] :
         {std::pair{"qvs1.ecd", &install}, std::pair{"qvs2.ecd", &install},
          std::pair{"qvs3.ecd", &install}, std::pair{"qvs3.ecd", &third}}) {
        const auto result = Pack("extract " + (kUpdates / set).string() + " " + into->Str());
        ASSERT_EQ(result.exitCode, 0) << result.errors;
    }
    const fs::path data = install.Path() / "data";
    for (const char* picture : {"landscape.png", "castle.png", "dragon.png"}) {
        EXPECT_TRUE(StartsWith(ReadRawFile(data / "pictures" / picture), "\x89PNG\r\n")) << picture;
    }
    for (const char* sound : {"horn.wav", "sword.wav", "fanfare.wav"}) {
        EXPECT_TRUE(StartsWith(ReadRawFile(data / "sounds" / sound), "RIFF")) << sound;
    }
    EXPECT_TRUE(fs::is_regular_file(data / "notes.txt"));
    // Set 3 replaces the landscape of set 1.
    const auto latest = ReadRawFile(third.Path() / "data" / "pictures" / "landscape.png");
    ASSERT_TRUE(latest.has_value());
    EXPECT_EQ(ReadRawFile(data / "pictures" / "landscape.png"), latest);
}

// The start-up class taken out of the client code file the way the launch
// does (decode, read the class directory, extract below it) lands on the
// class path: the installation directory, main class MainClass.StartUp.
TEST(DemoServerFolderTest, ClientCodeGivesStartUpClassOnTheClassPath) {
    TempDir install;
    const auto file = ReadRawFile(kUpdates / "qvsc1.ecd");
    ASSERT_TRUE(file.has_value());
    CStream package;
    package.Write(file->data(), file->size());
    package.Decode();
    package.SetPosition(0);
    std::string base;
    package.ReadString(base);
    ASSERT_EQ(base, "MainClass\\");
    CDirectory().ExtractStartupClass(package, install.Str() + base);
    const auto extracted = ReadRawFile(install.Path() / "MainClass" / "StartUp.class");
    ASSERT_TRUE(StartsWith(extracted, "\xca\xfe\xba\xbe"));
    EXPECT_EQ(extracted, ReadRawFile(QVS_DEMO_START_UP));
    // The start-up class is the whole client: nothing else would be extracted.
    const auto listing = Pack("list " + (kUpdates / "qvsc1.ecd").string());
    EXPECT_EQ(listing.output, "base \"MainClass\\\"\ndirectory \"\"\nfile \"\" \"StartUp.class\" " +
                                  std::to_string(extracted->size()) + "\n");
}

} // namespace
} // namespace qvs::test
