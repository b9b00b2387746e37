#include "launcher/ExitCleanUp.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <string>

namespace qvs {
namespace {

#ifndef _WIN32
std::string Upper(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
}
#endif

class ExitCleanUpTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directory(install.Path() / "classes");
        std::ofstream(install.File("StartUp.class")) << "install";
        std::ofstream(install.File("classes/StartUp.class")) << "extracted";
    }
    bool InstallClassExists() const {
        return std::filesystem::exists(install.Path() / "StartUp.class");
    }

    test::TempDir install;
};

TEST_F(ExitCleanUpTest, DeletesTheExtractedClass) {
    const std::string classDir = (install.Path() / "classes").string() + "/";
    EXPECT_TRUE(CleanUpClientClass(classDir, install.Str()));
    EXPECT_FALSE(std::filesystem::exists(install.Path() / "classes" / "StartUp.class"));
    EXPECT_TRUE(std::filesystem::exists(install.Path() / "classes"));
    EXPECT_TRUE(InstallClassExists());
}

TEST_F(ExitCleanUpTest, NeverTouchesTheInstallationDirectory) {
    const std::string base = install.Str();
    const std::string ways[] = {
        "",                   // nothing was launched
        base,                 // the same text
        base + "classes/../", // the same directory, another way
        base + "./",
#ifndef _WIN32
        Upper(install.Path().parent_path().string()) + "/" + install.Path().filename().string() +
            "/", // letter case differs only
#endif
    };
    for (const std::string& classDir : ways) {
        EXPECT_FALSE(CleanUpClientClass(classDir, base)) << classDir;
        EXPECT_TRUE(InstallClassExists()) << classDir;
    }
}

#ifndef _WIN32
TEST_F(ExitCleanUpTest, LinkToTheInstallationDirectoryIsNotFollowed) {
    test::TempDir elsewhere;
    std::filesystem::create_directory_symlink(install.Path(), elsewhere.Path() / "link");
    EXPECT_FALSE(CleanUpClientClass((elsewhere.Path() / "link").string() + "/", install.Str()));
    EXPECT_TRUE(InstallClassExists());
}
#endif

TEST_F(ExitCleanUpTest, MissingClassFileIsNoError) {
    const std::string classDir = (install.Path() / "classes").string() + "/";
    std::filesystem::remove(install.Path() / "classes" / "StartUp.class");
    EXPECT_FALSE(CleanUpClientClass(classDir, install.Str()));
}

} // namespace
} // namespace qvs
