// qvs.cfg on disk: every access goes to the file, failed writes leave it as it
// was, and the start-up clean-up of "[JAVA_VERSION]". The INI rules themselves
// are in CIniText_test.
#include "launcher/CConfig.h"

#include "support/RawFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>

namespace qvs {
namespace {

class ConfigFile : public ::testing::Test {
protected:
    test::TempDir dir;
    std::string path = CConfig::PathIn(dir.Str());
    CConfig config{path};

    std::string Bytes() const { return test::ReadRawFile(path).value_or("<missing>"); }
};

// The clean-up creates no file; a value written unchanged leaves the file as
// it is.
TEST_F(ConfigFile, EveryAccessGoesToTheFile) {
    config.RemoveDuplicateJavaVersions();
    EXPECT_FALSE(std::filesystem::exists(path));
    test::WriteRawFile(path, "[AUI]\nCAN_PING=FALSE\n; edited by hand\n");
    EXPECT_EQ(config.ReadValue("AUI", "CAN_PING", "x"), "FALSE");
    config.WriteValue("AUI", "CAN_PING", "FALSE");
    EXPECT_EQ(Bytes(), "[AUI]\nCAN_PING=FALSE\n; edited by hand\n");
    config.WriteValue("AUI", "NUM_FAILED_PINGS", "3");
    EXPECT_EQ(Bytes(), "[AUI]\r\nCAN_PING=FALSE\r\n; edited by hand\r\nNUM_FAILED_PINGS=3\r\n");
}

// Below a regular file, or over a directory: the error names the file and
// nothing on disk changes. The clean-up, optional work, drops its failure.
TEST_F(ConfigFile, FailedWriteNamesTheFileAndChangesNothing) {
    test::WriteRawFile(dir.Path() / "plain", "not a directory");
    CConfig blocked((dir.Path() / "plain" / "qvs.cfg").string());
    std::filesystem::create_directory(path);
    test::WriteRawFile(std::filesystem::path(path) / "keep", "kept");
    for (CConfig* failing : {&blocked, &config}) {
        try {
            failing->WriteValue("AUI", "CAN_PING", "TRUE");
            ADD_FAILURE() << "write did not fail";
        } catch (const std::runtime_error& error) {
            EXPECT_NE(std::string(error.what()).find(failing->Path()), std::string::npos)
                << error.what();
        }
    }
    EXPECT_EQ(test::ReadRawFile(dir.Path() / "plain"), "not a directory");
    EXPECT_EQ(test::ReadRawFile(std::filesystem::path(path) / "keep"), "kept");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2)
        << "temporary file left behind";
    config.RemoveDuplicateJavaVersions();
    EXPECT_TRUE(config.IsOpen());
}

TEST_F(ConfigFile, JavaVersionCleanUpKeepsFirstLineAndRecordsIt) {
    const std::string done = "[START_UP]\r\nDELETED_DUPLICATE_JAVA_VERSIONS=TRUE\r\n";
    const std::string java = "[JAVA_VERSION]\r\n";
    // A section grown by years of version answers: it must go in one step.
    std::string many;
    for (int i = 0; i < 200000; ++i) {
        many += "VERSION=java version \"1.4.2\" <BR> \r\n";
    }
    // clang-format off
    const std::pair<std::string, std::string> cases[] = {
        {"[START_UP]\r\nDELETED_DUPLICATE_JAVA_VERSIONS=FALSE\r\n" + java +
         "VERSION=a\r\nVERSION=b\r\n\r\nVERSION=d\r\n[C]\r\nM=5\r\n",
         done + java + "VERSION=a\r\n[C]\r\nM=5\r\n"},
        {"[AUI]\nCAN_PING=TRUE\n[java_version]\nVERSION=a\nline 2\n\nVERSION=b\n\n",
         "[AUI]\r\nCAN_PING=TRUE\r\n[java_version]\r\nVERSION=a\r\n" + done},
        {"[JAVA_VERSION]", java + done},
        {java + "\r\nVERSION=a\r\n" + many + "[B]\r\n", java + "\r\n[B]\r\n" + done}, // even if blank
        // The next header is found trimmed; only the first section is cleaned.
        {java + "VERSION=a\r\n \tVERSION=b\r\n  [JAVA_VERSION] \x1a\r\nVERSION=c\r\nVERSION=d\r\n",
         java + "VERSION=a\r\n" + java + "VERSION=c\r\nVERSION=d\r\n" + done},
        {" " + java + "VERSION=a\r\nVERSION=b", " " + java + "VERSION=a\r\nVERSION=b"}};
    // clang-format on
    for (const auto& [before, after] : cases) {
        test::WriteRawFile(path, before);
        config.RemoveDuplicateJavaVersions();
        EXPECT_TRUE(config.IsOpen());
        EXPECT_EQ(Bytes(), after) << before.substr(0, 60);
    }
}

} // namespace
} // namespace qvs
