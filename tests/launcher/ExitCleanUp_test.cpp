// Deleting the extracted class is checked after a real launch in
// GameLaunch_test; here, every way of naming the installation directory.
#include "launcher/ExitCleanUp.h"

#include "platform/AsciiCase.h"
#include "support/RawFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace qvs {
namespace {

namespace fs = std::filesystem;

TEST(ExitCleanUpTest, NeverTouchesTheInstallationDirectory) {
    test::TempDir install;
    test::WriteRawFile(install.Path() / "StartUp.class", "install");
    const std::string base = install.Str();
    std::vector<std::string> ways = {"", base, base + "classes/../", base + "./"};
#ifndef _WIN32
    ways.push_back(platform::UpperAscii(install.Path().parent_path().string()) + "/" +
                   install.Path().filename().string() + "/");
    test::TempDir elsewhere;
    fs::create_directory_symlink(install.Path(), elsewhere.Path() / "link");
    ways.push_back((elsewhere.Path() / "link").string() + "/");
#endif
    for (const std::string& way : ways) {
        EXPECT_FALSE(CleanUpClientClass(way, base)) << way;
        EXPECT_TRUE(fs::exists(install.Path() / "StartUp.class")) << way;
    }
}

} // namespace
} // namespace qvs
