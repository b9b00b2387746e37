#include "launcher/ClassDirectory.h"

#include "LaunchFixture.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace qvs {
namespace {

namespace fs = std::filesystem;
using test::WithoutSeparator;

class ClassDirectoryTest : public ::testing::Test {
protected:
    ClassDirectoryTest() { fs::create_directories(install / "MainClass"); }

    test::TempDir root;
    fs::path install = root.Path() / "Quorvash";
    std::string installDir = (install / "").string();
};

struct PlaceCase {
    const char* name;
    ClassDirectoryPlace place;
};

TEST_F(ClassDirectoryTest, PlacesNamesRelativeToTheInstallation) {
    const PlaceCase cases[] = {
        {"", ClassDirectoryPlace::InstallDir},
        {".\\", ClassDirectoryPlace::InstallDir},
        {"MainClass\\..\\", ClassDirectoryPlace::InstallDir},
        {"MainClass\\", ClassDirectoryPlace::Inside},
        {"MainClass", ClassDirectoryPlace::Inside},
        {"not\\yet\\made\\", ClassDirectoryPlace::Inside},
        {"..\\Quorvash\\MainClass\\", ClassDirectoryPlace::Inside},
        {"..\\", ClassDirectoryPlace::Outside},
        {"..\\..\\", ClassDirectoryPlace::Outside},
        {"MainClass\\..\\..\\Elsewhere\\", ClassDirectoryPlace::Outside},
        {"..\\QuorvashOld\\", ClassDirectoryPlace::Outside},
        {"\\", ClassDirectoryPlace::Outside},
    };
    for (const PlaceCase& c : cases) {
        EXPECT_EQ(ResolveClassDirectory(c.name, installDir).place, c.place) << '"' << c.name << '"';
    }
}

TEST_F(ClassDirectoryTest, PlacesAbsoluteNamesAsTheyStand) {
    EXPECT_EQ(ResolveClassDirectory(installDir, installDir).place, ClassDirectoryPlace::InstallDir);
    EXPECT_EQ(ResolveClassDirectory((install / "MainClass" / "").string(), installDir).place,
              ClassDirectoryPlace::Inside);
    EXPECT_EQ(ResolveClassDirectory((root.Path() / "Other" / "").string(), installDir).place,
              ClassDirectoryPlace::Outside);
    EXPECT_EQ(ResolveClassDirectory(root.Str(), installDir).place, ClassDirectoryPlace::Outside);
}

TEST_F(ClassDirectoryTest, PathIsAbsoluteWithOneTrailingSeparator) {
    const std::string path = ResolveClassDirectory("MainClass", installDir).path;
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.back(), static_cast<char>(fs::path::preferred_separator));
    EXPECT_NE(path[path.size() - 2], static_cast<char>(fs::path::preferred_separator));
    EXPECT_TRUE(fs::path(path).is_absolute());
    EXPECT_TRUE(fs::equivalent(WithoutSeparator(path), install / "MainClass"));
}

TEST_F(ClassDirectoryTest, FindsTheDirectoryWhateverTheLetterCase) {
    const ClassDirectory classDir = ResolveClassDirectory("MAINCLASS\\", installDir);
    EXPECT_EQ(classDir.place, ClassDirectoryPlace::Inside);
    EXPECT_TRUE(fs::equivalent(WithoutSeparator(classDir.path), install / "MainClass"));
}

#ifndef _WIN32
TEST_F(ClassDirectoryTest, FollowsLinks) {
    fs::create_directory(root.Path() / "Elsewhere");
    fs::create_directory_symlink(root.Path() / "Elsewhere", install / "out");
    fs::create_directory_symlink(install / "MainClass", install / "in");
    fs::create_directory_symlink(install, install / "self");
    EXPECT_EQ(ResolveClassDirectory("out\\", installDir).place, ClassDirectoryPlace::Outside);
    EXPECT_EQ(ResolveClassDirectory("in\\", installDir).place, ClassDirectoryPlace::Inside);
    EXPECT_EQ(ResolveClassDirectory("self\\", installDir).place, ClassDirectoryPlace::InstallDir);
}
#endif

TEST_F(ClassDirectoryTest, MakeClassDirectoryCreatesEveryLevel) {
    const ClassDirectory classDir = ResolveClassDirectory("a\\b\\c\\", installDir);
    ASSERT_TRUE(MakeClassDirectory(classDir.path));
    EXPECT_TRUE(fs::is_directory(install / "a" / "b" / "c"));
    EXPECT_TRUE(MakeClassDirectory(classDir.path)); // already there
}

TEST_F(ClassDirectoryTest, MakeClassDirectoryFailsOnAFileInTheWay) {
    std::ofstream(install / "a") << "file";
    const ClassDirectory classDir = ResolveClassDirectory("a\\b\\", installDir);
    EXPECT_FALSE(MakeClassDirectory(classDir.path));
    EXPECT_TRUE(fs::is_regular_file(install / "a"));
}

} // namespace
} // namespace qvs
