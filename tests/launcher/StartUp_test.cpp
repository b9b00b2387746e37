#include "launcher/StartUp.h"

#include "launcher/CConfig.h"
#include "platform/FileSystem.h"
#include "platform/VersionRecord.h"
#include "support/RawFile.h"
#include "support/TempDir.h"
#include "system/CDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace qvs {
namespace {

using namespace std::string_literals;

const std::string FourZeros("\0\0\0\0", 4);

class StartUpTest : public ::testing::Test {
protected:
    test::TempDir dir;
    ProcessValues values{dir.Str()};

    void Write(const char* name, const std::string& bytes) {
        test::WriteRawFile(dir.Path() / name, bytes);
    }
    std::string Read(const char* name) const {
        return test::ReadRawFile(dir.Path() / name).value_or("<missing>");
    }
    std::string ExeVersion() const {
        CConfig config(dir.File("qvs.cfg"));
        std::string version;
        for (const char* key : {"MAJOR_VERSION", "MINOR_VERSION", "RELEASE", "BUILD"}) {
            version += config.ReadValue("EXE_VERSION", key, "?") + ".";
        }
        return version;
    }
};

TEST_F(StartUpTest, FirstStartInEmptyDirectoryCreatesFilesAndVersionKeys) {
    values.Workers.LatestDataVersion = 5;
    values.Workers.ObservedAddress = "1.2.3.4";
    StartUp(values).Run();

    EXPECT_EQ(Read("qvs.dat"), FourZeros);
    EXPECT_EQ(Read("qvsc.dat"), FourZeros);
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / "Log"));
    EXPECT_EQ(values.LocalDataVersion, 0);
    EXPECT_EQ(values.Workers.LatestDataVersion, 0);
    EXPECT_EQ(values.Workers.ObservedAddress, "");
    ASSERT_NE(values.Config, nullptr);
    EXPECT_NE(values.Directory, nullptr);
    EXPECT_TRUE(values.Config->IsOpen());
    // Without a "[JAVA_VERSION]" section the clean-up stays to be done.
    EXPECT_EQ(Read("qvs.cfg"),
              "[EXE_VERSION]\r\nMAJOR_VERSION=0\r\nMINOR_VERSION=0\r\nRELEASE=0\r\n"
              "BUILD=0\r\n");
}

// Exactly four bytes are enough; more are ignored, fewer read as 0 and the
// file is rewritten.
TEST_F(StartUpTest, VersionFilesAreReadAsLittleEndian) {
    Write("qvs.dat", "\x2a\x01\x00\x00"s);
    Write("qvsc.dat", "\xff\xff\xff\xff\x07"s);
    StartUp(values).Run();
    EXPECT_EQ(values.LocalDataVersion, 0x012a);
    EXPECT_EQ(values.LocalClientCodeVersion, -1);
    EXPECT_EQ(Read("qvs.dat"), "\x2a\x01\x00\x00"s);
    EXPECT_EQ(Read("qvsc.dat"), "\xff\xff\xff\xff\x07"s);
    for (const std::string& content : {""s, "\x05"s, "\x05\x06\x07"s}) {
        Write("qvs.dat", content);
        EXPECT_EQ(StartUp::ReadVersionFile(dir.File("qvs.dat")), 0) << content.size();
        EXPECT_EQ(Read("qvs.dat"), FourZeros) << content.size();
    }
    std::filesystem::remove(dir.Path() / "qvs.dat");
    std::filesystem::create_directory(dir.Path() / "qvs.dat");
    EXPECT_EQ(StartUp::ReadVersionFile(dir.File("qvs.dat")), 0);
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / "qvs.dat"));
}

#ifndef _WIN32
// A piece of the version that is not a number reads as 0.
TEST_F(StartUpTest, ExeVersionComesFromTheLaunchersVersionRecord) {
    const auto record = platform::MakeVersionRecord(3, 1, 4, 15);
    std::string odd(platform::VersionRecordTag);
    odd += "2.x.3.4";
    odd.resize(platform::VersionRecordSize, '\0');
    const std::pair<std::string, std::string> cases[] = {
        {"MZ-binary-" + std::string(record.begin(), record.end()), "3.1.4.15."}, {odd, "2.0.3.4."}};
    for (const auto& [exe, version] : cases) {
        Write("qvs.exe", exe);
        ASSERT_NO_THROW(StartUp(values).Run());
        EXPECT_EQ(ExeVersion(), version);
    }
}
#endif

TEST_F(StartUpTest, DuplicateJavaVersionsAreRemovedOnce) {
    Write("qvs.cfg", "[JAVA_VERSION]\r\nVERSION=a\r\nVERSION=b\r\n");
    StartUp(values).Run();
    EXPECT_EQ(Read("qvs.cfg"), "[JAVA_VERSION]\r\nVERSION=a\r\n[EXE_VERSION]\r\nMAJOR_VERSION=0\r\n"
                               "MINOR_VERSION=0\r\nRELEASE=0\r\nBUILD=0\r\n[START_UP]\r\n"
                               "DELETED_DUPLICATE_JAVA_VERSIONS=TRUE\r\n");
    EXPECT_TRUE(values.Config->IsOpen());
    const std::string done = "[START_UP]\r\nDELETED_DUPLICATE_JAVA_VERSIONS=TRUE\r\n"
                             "[JAVA_VERSION]\r\nVERSION=a\r\nVERSION=b\r\n";
    Write("qvs.cfg", done);
    Write("Log/betaErrorLog.out", "trace"); // the existing log directory is kept as it is
    StartUp(values).Run();
    EXPECT_NE(Read("qvs.cfg").find("VERSION=a\r\nVERSION=b"), std::string::npos);
    EXPECT_EQ(Read("Log/betaErrorLog.out"), "trace");
}

} // namespace
} // namespace qvs
