#include "platform/FileSystem.h"
#include "platform/ProgramEnvironment.h"
#include "platform/Utf8Path.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace qvs::platform {
namespace {

namespace fs = std::filesystem;

const std::string Name = "J\xC3\xBCrgen \xE7\x8E\x8B\xE4\xBC\x9F \xF0\x9F\x8E\xB2";

void SetVariable(const char* name, const char* value) {
#ifdef _WIN32
    // _putenv_s would pass the value through the ANSI code page.
    // "NAME=" removes the variable.
    const std::wstring wide = Utf8Path(std::string(name) + "=" + (value ? value : "")).wstring();
    ASSERT_EQ(_wputenv(wide.c_str()), 0);
#else
    ASSERT_EQ(value ? setenv(name, value, 1) : unsetenv(name), 0);
#endif
}

// What the system hands the program comes back in UTF-8, letters of any
// script and outside the Basic Multilingual Plane included.
TEST(ProgramEnvironmentTest, OwnFileWorkingDirectoryAndEnvironmentInUtf8) {
    const std::string program = ProgramPath();
    EXPECT_TRUE(FileExists(program)) << program;
    EXPECT_EQ(Utf8Path(program).stem(), "platform_tests");

    const test::TempDir dir;
    const fs::path folder = dir.Path() / Utf8Path(Name);
    fs::create_directory(folder);
    const fs::path before = fs::current_path();
    fs::current_path(folder);
    const std::optional<std::string> current = CurrentDirectory();
    fs::current_path(before);
    EXPECT_EQ(current, Utf8String(folder));

    SetVariable("QVS_TEST_NAME", Name.c_str());
    EXPECT_EQ(EnvironmentVariable("QVS_TEST_NAME"), Name);
    SetVariable("QVS_TEST_NAME", nullptr);
    EXPECT_EQ(EnvironmentVariable("QVS_TEST_NAME"), std::nullopt);
}

} // namespace
} // namespace qvs::platform
