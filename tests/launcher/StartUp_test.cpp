#include "launcher/StartUp.h"

#include "launcher/CConfig.h"
#include "platform/FileSystem.h"
#include "platform/VersionRecord.h"
#include "support/TempDir.h"
#include "system/CDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace qvs {
namespace {

using namespace std::string_literals;

const std::string FourZeros("\0\0\0\0", 4);

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadBytes(const std::string& path) {
    return platform::ReadWholeFile(path).value_or("<missing>");
}

class StartUpTest : public ::testing::Test {
protected:
    test::TempDir dir;
    ProcessValues values{dir.Str()};

    std::string Cfg(const char* section, const char* key) {
        return CConfig(dir.File("qvs.cfg")).ReadValue(section, key, "<absent>");
    }
};

TEST_F(StartUpTest, FirstStartInEmptyDirectoryCreatesFilesAndVersionKeys) {
    values.Workers.LatestDataVersion = 5;
    values.Workers.ObservedAddress = "1.2.3.4";
    StartUp(values).Run();

    EXPECT_EQ(ReadBytes(dir.File("qvs.dat")), FourZeros);
    EXPECT_EQ(ReadBytes(dir.File("qvsc.dat")), FourZeros);
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / "Log"));
    EXPECT_EQ(values.LocalDataVersion, 0);
    EXPECT_EQ(values.LocalClientCodeVersion, 0);
    EXPECT_EQ(values.Workers.LatestDataVersion, 0);
    EXPECT_EQ(values.Workers.ObservedAddress, "");
    ASSERT_NE(values.Config, nullptr);
    ASSERT_NE(values.Directory, nullptr);
    EXPECT_TRUE(values.Config->IsOpen());
    for (const char* key : {"MAJOR_VERSION", "MINOR_VERSION", "RELEASE", "BUILD"}) {
        EXPECT_EQ(Cfg("EXE_VERSION", key), "0") << key;
    }
    // Without a "[JAVA_VERSION]" section the clean-up stays to be done.
    EXPECT_EQ(Cfg("START_UP", "DELETED_DUPLICATE_JAVA_VERSIONS"), "<absent>");
}

TEST_F(StartUpTest, VersionFilesAreReadAsLittleEndianAndLeftAlone) {
    WriteBytes(dir.File("qvs.dat"), "\x2a\x01\x00\x00"s);
    WriteBytes(dir.File("qvsc.dat"), "\xff\xff\xff\xff\x07"s);
    StartUp(values).Run();

    EXPECT_EQ(values.LocalDataVersion, 0x012a);
    EXPECT_EQ(values.LocalClientCodeVersion, -1);
    EXPECT_EQ(ReadBytes(dir.File("qvs.dat")), "\x2a\x01\x00\x00"s);
    EXPECT_EQ(ReadBytes(dir.File("qvsc.dat")), "\xff\xff\xff\xff\x07"s);
}

TEST(StartUpVersionFile, TooShortReadsAsZeroAndIsRewritten) {
    for (const std::string& content : {""s, "\x05"s, "\x05\x06\x07"s}) {
        test::TempDir dir;
        const std::string path = dir.File("qvs.dat");
        WriteBytes(path, content);
        EXPECT_EQ(StartUp::ReadVersionFile(path), 0) << content.size();
        EXPECT_EQ(ReadBytes(path), FourZeros) << content.size();
    }
}

TEST(StartUpVersionFile, DirectoryInTheWayGivesZeroWithoutThrowing) {
    test::TempDir dir;
    std::filesystem::create_directory(dir.Path() / "qvs.dat");
    EXPECT_EQ(StartUp::ReadVersionFile(dir.File("qvs.dat")), 0);
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / "qvs.dat"));
}

#ifndef _WIN32
TEST_F(StartUpTest, VersionFileNamesIgnoreLetterCase) {
    WriteBytes(dir.File("QVS.DAT"), "\x09\x00\x00\x00"s);
    StartUp(values).Run();
    EXPECT_EQ(values.LocalDataVersion, 9);
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "qvs.dat"));
}

TEST_F(StartUpTest, ExeVersionComesFromTheLaunchersVersionRecord) {
    const auto record = platform::MakeVersionRecord(3, 1, 4, 15);
    WriteBytes(dir.File("qvs.exe"), "MZ-binary-" + std::string(record.begin(), record.end()));
    StartUp(values).Run();
    EXPECT_EQ(Cfg("EXE_VERSION", "MAJOR_VERSION"), "3");
    EXPECT_EQ(Cfg("EXE_VERSION", "MINOR_VERSION"), "1");
    EXPECT_EQ(Cfg("EXE_VERSION", "RELEASE"), "4");
    EXPECT_EQ(Cfg("EXE_VERSION", "BUILD"), "15");
}

TEST_F(StartUpTest, NonNumericVersionPieceGivesZeroAndStartUpCompletes) {
    std::string record(platform::VersionRecordTag);
    record += "2.x.3.4";
    record.resize(platform::VersionRecordSize, '\0');
    WriteBytes(dir.File("qvs.exe"), record);
    ASSERT_NO_THROW(StartUp(values).Run());
    EXPECT_EQ(Cfg("EXE_VERSION", "MAJOR_VERSION"), "2");
    EXPECT_EQ(Cfg("EXE_VERSION", "MINOR_VERSION"), "0");
    EXPECT_EQ(Cfg("EXE_VERSION", "RELEASE"), "3");
    EXPECT_EQ(Cfg("EXE_VERSION", "BUILD"), "4");
}
#endif

TEST_F(StartUpTest, DuplicateJavaVersionsAreRemovedOnce) {
    WriteBytes(dir.File("qvs.cfg"), "[JAVA_VERSION]\r\nVERSION=a\r\nVERSION=b\r\n\r\nVERSION=c\r\n"
                                    "[OPTIONS]\r\nDISABLE_TCP_UDP_1=TRUE\r\n");
    StartUp(values).Run();
    const std::string text = ReadBytes(dir.File("qvs.cfg"));
    EXPECT_NE(text.find("[JAVA_VERSION]\r\nVERSION=a\r\n[OPTIONS]\r\n"), std::string::npos) << text;
    EXPECT_EQ(Cfg("START_UP", "DELETED_DUPLICATE_JAVA_VERSIONS"), "TRUE");
    EXPECT_TRUE(values.Config->IsOpen());
}

TEST_F(StartUpTest, JavaVersionsStayWhenCleanUpWasDone) {
    const std::string original = "[START_UP]\r\nDELETED_DUPLICATE_JAVA_VERSIONS=TRUE\r\n"
                                 "[JAVA_VERSION]\r\nVERSION=a\r\nVERSION=b\r\n";
    WriteBytes(dir.File("qvs.cfg"), original);
    StartUp(values).Run();
    const std::string text = ReadBytes(dir.File("qvs.cfg"));
    EXPECT_NE(text.find("VERSION=a\r\nVERSION=b"), std::string::npos) << text;
}

TEST_F(StartUpTest, ExistingLogDirectoryKeepsItsContent) {
    std::filesystem::create_directory(dir.Path() / "Log");
    WriteBytes(dir.File("Log/betaErrorLog.out"), "trace");
    StartUp(values).Run();
    EXPECT_EQ(ReadBytes(dir.File("Log/betaErrorLog.out")), "trace");
}

} // namespace
} // namespace qvs
