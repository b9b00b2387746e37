#include "launcher/StartUp.h"

#include "launcher/CConfig.h"
#include "support/RawFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace qvs {
namespace {

using namespace std::string_literals;

const std::string FourZeros("\0\0\0\0", 4);

// Version files: exactly four bytes are enough and more are ignored; fewer,
// or none, read as 0 and the file is rewritten.
TEST(StartUpTest, RunPreparesTheInstallation) {
    test::TempDir dir;
    ProcessValues values{dir.Str()};
    const auto writeFile = [&dir](const char* name, const std::string& bytes) {
        test::WriteRawFile(dir.Path() / name, bytes);
    };
    const auto readFile = [&dir](const char* name) {
        return test::ReadRawFile(dir.Path() / name).value_or("<missing>");
    };
    writeFile("qvsc.dat", "\xff\xff\xff\xff\x07"s);
    StartUp(values).Run();
    EXPECT_EQ(values.LocalDataVersion, 0);
    EXPECT_EQ(readFile("qvs.dat"), FourZeros);
    EXPECT_EQ(values.LocalClientCodeVersion, -1);
    EXPECT_EQ(readFile("qvsc.dat"), "\xff\xff\xff\xff\x07"s);
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / "Log"));
    // Without a "[JAVA_VERSION]" section the clean-up stays to be done.
    EXPECT_EQ(readFile("qvs.cfg"),
              "[EXE_VERSION]\r\nMAJOR_VERSION=0\r\nMINOR_VERSION=0\r\nRELEASE=0\r\n"
              "BUILD=0\r\n");
    for (const std::string& content : {"\x2a\x01\x00\x00"s, "\x05\x06\x07"s}) {
        writeFile("qvs.dat", content);
        EXPECT_EQ(StartUp::ReadVersionFile(dir.File("qvs.dat")), content.size() == 4 ? 0x012a : 0);
        EXPECT_EQ(readFile("qvs.dat"), content.size() == 4 ? content : FourZeros);
    }
    // A directory in its place reads as 0 and stays.
    std::filesystem::remove(dir.Path() / "qvs.dat");
    std::filesystem::create_directory(dir.Path() / "qvs.dat");
    EXPECT_EQ(StartUp::ReadVersionFile(dir.File("qvs.dat")), 0);
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / "qvs.dat"));
    // The clean-up itself is CConfig's; it runs until it is recorded as done.
    for (const std::string done : {"FALSE", "TRUE"}) {
        writeFile("qvs.cfg", "[START_UP]\r\nDELETED_DUPLICATE_JAVA_VERSIONS=" + done +
                                 "\r\n[JAVA_VERSION]\r\nVERSION=a\r\nVERSION=b\r\n");
        StartUp(values).Run();
        EXPECT_EQ(readFile("qvs.cfg").find("VERSION=b") == std::string::npos, done == "FALSE");
    }
}

} // namespace
} // namespace qvs
