#include "launcher/ClassDirectory.h"

#include "support/RawFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace qvs {
namespace {

namespace fs = std::filesystem;

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
