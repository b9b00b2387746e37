#include "platform/FileSystem.h"
#include "support/PackageBytes.h"
#include "support/TempDir.h"
#include "support/TreeSnapshot.h"
#include "system/CDirectory.h"
#include "system/PackageError.h"
#include "system/PackageInstaller.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

namespace qvs {
namespace {

using Tree = std::map<std::string, std::string>;
using test::PackageBytes;
using test::TreeSnapshot;
namespace fs = std::filesystem;

PackageBytes DataPackage(const std::string& base) {
    PackageBytes bytes;
    bytes.Str(base)
        .Dir("", 1)
        .Dir("art\\", 0)
        .Int(1)
        .File("art\\", "a.jpg", "JPG")
        .Int(1)
        .File("", "sound.wav", "WAV");
    return bytes;
}

class Installer : public ::testing::Test {
protected:
    std::string InstallDir() const { return parent_.Str() + "game\\"; }
    fs::path Game() const { return parent_.Path() / "game"; }
    void SetUp() override { fs::create_directories(Game()); }
    test::TempDir parent_;
    CDirectory directory_;
};

TEST_F(Installer, HostileBaseIsRefusedBeforeAnythingIsWritten) {
    for (const char* base : {"..\\", "..", "../", "\\x\\", "/etc/", "\\\\server\\x\\", "C:\\x\\",
                             "C:x\\", "a\\..\\..\\", "a/../../", ".\\..\\"}) {
        CStream package = DataPackage(base).Stream();
        EXPECT_THROW(PackageInstaller(directory_, InstallDir()).Install(package), PackageError)
            << base;
        EXPECT_EQ(TreeSnapshot(parent_.Path()), (Tree{{"game/", ""}})) << base;
    }
}

TEST_F(Installer, BaseInsideTheInstallationDirectoryIsAccepted) {
    for (const char* base : {"", ".\\", "x.y\\", "...z\\", "..a\\"}) {
        CStream package = DataPackage(base).Stream();
        // Without a trailing separator the installation directory is still a directory.
        EXPECT_EQ(PackageInstaller(directory_, parent_.Str() + "game").Install(package), base);
        const std::string below = std::string(base).substr(0, std::string(base).size() - 1);
        const fs::path where = base[0] == '\0' ? Game() : Game() / below;
        EXPECT_EQ(TreeSnapshot(where),
                  (Tree{{"art/", ""}, {"art/a.jpg", "JPG"}, {"sound.wav", "WAV"}}))
            << base;
        fs::remove_all(where / "art");
        fs::remove(where / "sound.wav");
    }
}

#ifndef _WIN32
TEST_F(Installer, BaseThatIsALinkOutOfTheInstallationIsRefused) {
    fs::create_directories(parent_.Path() / "elsewhere");
    fs::create_directory_symlink(parent_.Path() / "elsewhere", Game() / "data");
    CStream package = DataPackage("data\\").Stream();
    EXPECT_THROW(PackageInstaller(directory_, InstallDir()).Install(package), PackageError);
    EXPECT_TRUE(fs::is_empty(parent_.Path() / "elsewhere"));
}
#endif

} // namespace
} // namespace qvs
