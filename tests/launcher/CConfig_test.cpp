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

using test::ReadRawFile;
using test::WriteRawFile;

class ConfigFile : public ::testing::Test {
protected:
    test::TempDir dir;
    std::string path = CConfig::PathIn(dir.Str());
    CConfig config{path};

    std::string Bytes() const { return ReadRawFile(path).value_or("<missing>"); }
    int Entries() const {
        int entries = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
            ++entries;
        }
        return entries;
    }
};

TEST_F(ConfigFile, MissingFileReadsDefaultsAndStaysMissing) {
    EXPECT_EQ(std::filesystem::path(path), dir.Path() / "qvs.cfg");
    EXPECT_EQ(config.ReadValue("AUI", "NUM_FAILED_PINGS", "0"), "0");
    EXPECT_TRUE(config.ReadLines().empty());
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(ConfigFile, EveryAccessGoesToTheFile) {
    config.WriteValue("AUI", "CAN_PING", "TRUE");
    EXPECT_EQ(Bytes(), "[AUI]\r\nCAN_PING=TRUE\r\n");
    WriteRawFile(path, "[AUI]\nCAN_PING=FALSE\n; edited by hand\n");
    EXPECT_EQ(config.ReadValue("AUI", "CAN_PING", "x"), "FALSE");
    config.WriteValue("AUI", "NUM_FAILED_PINGS", "3");
    EXPECT_EQ(Bytes(), "[AUI]\r\nCAN_PING=FALSE\r\n; edited by hand\r\nNUM_FAILED_PINGS=3\r\n");
    WriteRawFile(path, "[A]\r\nK=V\n\r\n[B]\rX=1");
    EXPECT_EQ(config.ReadLines(), (std::vector<std::string>{"[A]", "K=V", "", "[B]", "X=1"}));
}

TEST_F(ConfigFile, UnchangedValueDoesNotRewriteFile) {
    WriteRawFile(path, "[OPTIONS]\n DISABLE_ERROR_DISPLAY = FALSE \n");
    config.WriteValue("OPTIONS", "DISABLE_ERROR_DISPLAY", "FALSE");
    EXPECT_EQ(Bytes(), "[OPTIONS]\n DISABLE_ERROR_DISPLAY = FALSE \n");
}

TEST_F(ConfigFile, NameDifferingInCaseIsTheSameFile) {
    WriteRawFile(dir.Path() / "QVS.CFG", "[AUI]\r\nCAN_PING=TRUE\r\n");
    EXPECT_EQ(config.ReadValue("AUI", "CAN_PING", "FALSE"), "TRUE");
    config.WriteValue("AUI", "DOWNLOADED_EXE", "TRUE");
    EXPECT_EQ(Entries(), 1);
    EXPECT_EQ(ReadRawFile(dir.Path() / "QVS.CFG"),
              "[AUI]\r\nCAN_PING=TRUE\r\nDOWNLOADED_EXE=TRUE\r\n");
}

void ExpectErrorNamingFile(CConfig& config, const std::string& path) {
    try {
        config.WriteValue("AUI", "CAN_PING", "TRUE");
        ADD_FAILURE() << "write did not fail";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find(path), std::string::npos) << error.what();
    }
}

TEST_F(ConfigFile, WriteBelowRegularFileFailsNamingFile) {
    WriteRawFile(dir.Path() / "plain", "not a directory");
    std::string inside = (dir.Path() / "plain" / "qvs.cfg").string();
    CConfig blocked(inside);
    ExpectErrorNamingFile(blocked, inside);
    EXPECT_EQ(ReadRawFile(dir.Path() / "plain"), "not a directory");
    EXPECT_EQ(blocked.ReadValue("AUI", "CAN_PING", "FALSE"), "FALSE");
}

TEST_F(ConfigFile, WriteOverDirectoryFailsAndLeavesItAlone) {
    std::filesystem::create_directory(path);
    WriteRawFile(std::filesystem::path(path) / "keep", "kept");
    ExpectErrorNamingFile(config, path);
    EXPECT_EQ(ReadRawFile(std::filesystem::path(path) / "keep"), "kept");
    EXPECT_EQ(Entries(), 1) << "temporary file left behind";
}

TEST_F(ConfigFile, ClosedConfigRefusesAccess) {
    config.Close();
    EXPECT_FALSE(config.IsOpen());
    EXPECT_THROW(config.ReadValue("A", "K", "d"), std::logic_error);
    EXPECT_THROW(config.WriteValue("A", "K", "v"), std::logic_error);
    EXPECT_FALSE(std::filesystem::exists(path));
    config.Open();
    EXPECT_EQ(config.ReadValue("A", "K", "d"), "d");
}

// A section grown by years of version answers: it must go in one step.
std::string ManyLines(std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        text += "VERSION=java version \"1.4.2\" <BR> \r\n";
    }
    return text;
}

TEST_F(ConfigFile, JavaVersionCleanUpKeepsFirstLineAndRecordsIt) {
    const std::string done = "[START_UP]\r\nDELETED_DUPLICATE_JAVA_VERSIONS=TRUE\r\n";
    const std::string java = "[JAVA_VERSION]\r\n";
    // clang-format off
    const std::pair<std::string, std::string> cases[] = {
        {"[E]\r\nB=1\r\n" + java + "VERSION=a\r\nVERSION=b\r\n\r\nVERSION=d\r\n[C]\r\nM=5\r\n",
         "[E]\r\nB=1\r\n" + java + "VERSION=a\r\n[C]\r\nM=5\r\n" + done},
        {"[AUI]\nCAN_PING=TRUE\n[java_version]\nVERSION=a\nline 2\n\nVERSION=b\n\n",
         "[AUI]\r\nCAN_PING=TRUE\r\n[java_version]\r\nVERSION=a\r\n" + done},
        {"[JAVA_VERSION]", java + done},
        {java + "\r\nVERSION=a\r\n[B]\r\n", java + "\r\n[B]\r\n" + done}, // even if blank
        // The next header is found trimmed; only the first section is cleaned.
        {java + "VERSION=a\r\n \tVERSION=b\r\n  [JAVA_VERSION] \x1a\r\nVERSION=c\r\nVERSION=d\r\n",
         java + "VERSION=a\r\n" + java + "VERSION=c\r\nVERSION=d\r\n" + done},
        {"[START_UP]\r\nDELETED_DUPLICATE_JAVA_VERSIONS=FALSE\r\n" + java + "VERSION=a\r\nV=b",
         done + java + "VERSION=a\r\n"},
        {java + "VERSION=a\r\n" + ManyLines(200000) + "[B]\r\nX=1\r\n",
         java + "VERSION=a\r\n[B]\r\nX=1\r\n" + done},
        {"[AUI]\nCAN_PING=TRUE\n\n", "[AUI]\nCAN_PING=TRUE\n\n"},
        {" " + java + "VERSION=a\r\nVERSION=b", " " + java + "VERSION=a\r\nVERSION=b"}};
    // clang-format on
    for (const auto& [before, after] : cases) {
        WriteRawFile(path, before);
        config.RemoveDuplicateJavaVersions();
        EXPECT_TRUE(config.IsOpen());
        EXPECT_EQ(Bytes(), after) << before.substr(0, 60);
    }
}

TEST_F(ConfigFile, CleanUpDropsFailuresAndCreatesNothing) {
    config.RemoveDuplicateJavaVersions();
    EXPECT_TRUE(config.IsOpen());
    EXPECT_FALSE(std::filesystem::exists(path));
    std::filesystem::create_directory(path);
    config.RemoveDuplicateJavaVersions();
    EXPECT_TRUE(config.IsOpen());
    EXPECT_TRUE(std::filesystem::is_directory(path));
}

} // namespace
} // namespace qvs
