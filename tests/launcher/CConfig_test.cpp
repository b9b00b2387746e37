#include "launcher/CConfig.h"

#include "platform/FileSystem.h"
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
};

TEST_F(ConfigFile, LivesInInstallDirectory) {
    EXPECT_EQ(std::filesystem::path(path), dir.Path() / "qvs.cfg");
}

TEST_F(ConfigFile, MissingFileReadsDefaultsAndStaysMissing) {
    EXPECT_EQ(config.ReadValue("AUI", "NUM_FAILED_PINGS", "0"), "0");
    EXPECT_EQ(config.ReadValue("START_UP", "DELETED_DUPLICATE_JAVA_VERSIONS", "FALSE"), "FALSE");
    EXPECT_TRUE(config.ReadLines().empty());
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(ConfigFile, FirstStartWritesVersionIntoNewFile) {
    config.WriteValue("EXE_VERSION", "MAJOR_VERSION", "1");
    config.WriteValue("EXE_VERSION", "MINOR_VERSION", "2");
    config.WriteValue("EXE_VERSION", "RELEASE", "3");
    config.WriteValue("EXE_VERSION", "BUILD", "4");
    EXPECT_EQ(Bytes(), "[EXE_VERSION]\r\nMAJOR_VERSION=1\r\nMINOR_VERSION=2\r\nRELEASE=3\r\n"
                       "BUILD=4\r\n");
    EXPECT_EQ(config.ReadValue("exe_version", "build", "0"), "4");
}

TEST_F(ConfigFile, EveryAccessGoesToTheFile) {
    config.WriteValue("AUI", "CAN_PING", "TRUE");
    EXPECT_EQ(Bytes(), "[AUI]\r\nCAN_PING=TRUE\r\n");
    WriteRawFile(path, "[AUI]\nCAN_PING=FALSE\n; edited by hand\n");
    EXPECT_EQ(config.ReadValue("AUI", "CAN_PING", "x"), "FALSE");
    config.WriteValue("AUI", "NUM_FAILED_PINGS", "3");
    EXPECT_EQ(Bytes(), "[AUI]\r\nCAN_PING=FALSE\r\n; edited by hand\r\nNUM_FAILED_PINGS=3\r\n");
}

TEST_F(ConfigFile, SecondConfigObjectSeesWritesAtOnce) {
    CConfig other(path);
    config.WriteValue("ERROR", "LAST_ERROR_STATUS", "esNoError");
    EXPECT_EQ(other.ReadValue("ERROR", "LAST_ERROR_STATUS", ""), "esNoError");
    other.WriteValue("ERROR", "LAST_ERROR_STATUS", "esCouldNotPingAutoUpdateServer");
    EXPECT_EQ(config.ReadValue("ERROR", "LAST_ERROR_STATUS", ""), "esCouldNotPingAutoUpdateServer");
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
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        EXPECT_EQ(entry.path().filename(), "QVS.CFG");
        ++files;
    }
    EXPECT_EQ(files, 1);
    EXPECT_EQ(ReadRawFile(dir.Path() / "QVS.CFG"),
              "[AUI]\r\nCAN_PING=TRUE\r\nDOWNLOADED_EXE=TRUE\r\n");
}

TEST_F(ConfigFile, LowerLayersWriteThroughInterface) {
    IConfigWriter& writer = config;
    writer.WriteValue("JAVA_VERSION", "VERSION", "openjdk version \"17\" <BR> ");
    EXPECT_EQ(Bytes(), "[JAVA_VERSION]\r\nVERSION=openjdk version \"17\" <BR> \r\n");
    EXPECT_EQ(config.ReadValue("JAVA_VERSION", "VERSION", ""), "openjdk version \"17\" <BR>");
}

TEST_F(ConfigFile, ReadsWholeFileAsLines) {
    WriteRawFile(path, "[A]\r\nK=V\n\r\n[B]\rX=1");
    EXPECT_EQ(config.ReadLines(), (std::vector<std::string>{"[A]", "K=V", "", "[B]", "X=1"}));
}

TEST_F(ConfigFile, LettersInCounterAreReadAsStored) {
    WriteRawFile(path, "[AUI]\r\nNUM_FAILED_PINGS=abc\r\n");
    EXPECT_EQ(config.ReadValue("AUI", "NUM_FAILED_PINGS", "0"), "abc");
    config.WriteValue("AUI", "NUM_FAILED_PINGS", "1");
    EXPECT_EQ(Bytes(), "[AUI]\r\nNUM_FAILED_PINGS=1\r\n");
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
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 1) << "temporary file left behind";
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

struct CleanUpCase {
    const char* name;
    std::string before;
    std::string after; // the whole file afterwards
};

void PrintTo(const CleanUpCase& c, std::ostream* out) {
    *out << c.name;
}

class JavaVersionCleanUp : public ConfigFile, public ::testing::WithParamInterface<CleanUpCase> {};

TEST_P(JavaVersionCleanUp, KeepsFirstLineAndRecordsIt) {
    WriteRawFile(path, GetParam().before);
    config.RemoveDuplicateJavaVersions();
    EXPECT_TRUE(config.IsOpen());
    EXPECT_EQ(Bytes(), GetParam().after);
}

const std::string doneFlag = "[START_UP]\r\nDELETED_DUPLICATE_JAVA_VERSIONS=TRUE\r\n";

// A section grown by years of version answers, in one piece of text.
std::string ManyLines(std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        text += "VERSION=java version \"1.4.2\" <BR> \r\n";
    }
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, JavaVersionCleanUp,
    ::testing::Values(
        CleanUpCase{"duplicates_before_next_section",
                    "[EXE_VERSION]\r\nBUILD=1\r\n[JAVA_VERSION]\r\nVERSION=a\r\nVERSION=b\r\n"
                    "VERSION=c\r\n\r\nVERSION=d\r\n[CONFIG]\r\nMEMORY=512\r\n",
                    "[EXE_VERSION]\r\nBUILD=1\r\n[JAVA_VERSION]\r\nVERSION=a\r\n[CONFIG]\r\n"
                    "MEMORY=512\r\n" +
                        doneFlag},
        CleanUpCase{"section_at_end_of_file",
                    "[AUI]\r\nCAN_PING=TRUE\r\n[JAVA_VERSION]\r\nVERSION=a\r\nline 2\r\n\r\n"
                    "VERSION=b\r\n\r\n",
                    "[AUI]\r\nCAN_PING=TRUE\r\n[JAVA_VERSION]\r\nVERSION=a\r\n" + doneFlag},
        CleanUpCase{"header_is_last_line", "[JAVA_VERSION]", "[JAVA_VERSION]\r\n" + doneFlag},
        CleanUpCase{"header_ignores_case", "[java_version]\nVERSION=a\nVERSION=b\n",
                    "[java_version]\r\nVERSION=a\r\n" + doneFlag},
        CleanUpCase{"first_line_kept_even_if_blank", "[JAVA_VERSION]\r\n\r\nVERSION=a\r\n[B]\r\n",
                    "[JAVA_VERSION]\r\n\r\n[B]\r\n" + doneFlag},
        CleanUpCase{"next_header_trimmed",
                    "[JAVA_VERSION]\r\nVERSION=a\r\n \tVERSION=b\r\n  [B] \x1a\r\nX=1\r\n",
                    "[JAVA_VERSION]\r\nVERSION=a\r\n[B]\r\nX=1\r\n" + doneFlag},
        CleanUpCase{"only_first_section_cleaned",
                    "[JAVA_VERSION]\r\nVERSION=a\r\nVERSION=b\r\n[JAVA_VERSION]\r\nVERSION=c\r\n"
                    "VERSION=d\r\n",
                    "[JAVA_VERSION]\r\nVERSION=a\r\n[JAVA_VERSION]\r\nVERSION=c\r\nVERSION=d\r\n" +
                        doneFlag},
        CleanUpCase{"flag_replaced_in_place",
                    "[START_UP]\r\nDELETED_DUPLICATE_JAVA_VERSIONS=FALSE\r\n[JAVA_VERSION]\r\n"
                    "VERSION=a\r\nVERSION=b\r\n",
                    "[START_UP]\r\nDELETED_DUPLICATE_JAVA_VERSIONS=TRUE\r\n[JAVA_VERSION]\r\n"
                    "VERSION=a\r\n"},
        CleanUpCase{"two_hundred_thousand_lines",
                    "[JAVA_VERSION]\r\nVERSION=a\r\n" + ManyLines(200000) + "[B]\r\nX=1\r\n",
                    "[JAVA_VERSION]\r\nVERSION=a\r\n[B]\r\nX=1\r\n" + doneFlag},
        CleanUpCase{"no_java_version_section_untouched", "[AUI]\nCAN_PING=TRUE\n\n",
                    "[AUI]\nCAN_PING=TRUE\n\n"},
        CleanUpCase{"indented_header_is_not_the_section",
                    " [JAVA_VERSION]\r\nVERSION=a\r\nVERSION=b",
                    " [JAVA_VERSION]\r\nVERSION=a\r\nVERSION=b"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConfigFile, CleanUpWithoutFileCreatesNothing) {
    config.RemoveDuplicateJavaVersions();
    EXPECT_TRUE(config.IsOpen());
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(config.ReadValue("START_UP", "DELETED_DUPLICATE_JAVA_VERSIONS", "FALSE"), "FALSE");
}

TEST_F(ConfigFile, CleanUpDropsFailureAndReopens) {
    std::filesystem::create_directory(path);
    config.RemoveDuplicateJavaVersions();
    EXPECT_TRUE(config.IsOpen());
    EXPECT_TRUE(std::filesystem::is_directory(path));
}

TEST_F(ConfigFile, CleanUpReopensClosedConfig) {
    WriteRawFile(path, "[JAVA_VERSION]\r\nVERSION=a\r\n");
    config.Close();
    config.RemoveDuplicateJavaVersions();
    EXPECT_TRUE(config.IsOpen());
    EXPECT_EQ(config.ReadValue("START_UP", "DELETED_DUPLICATE_JAVA_VERSIONS", "FALSE"), "TRUE");
}

} // namespace
} // namespace qvs
