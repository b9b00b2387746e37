#include <gtest/gtest.h>

#include <fstream>

#include "platform/EmbeddedVersion.h"
#include "platform/FileVersion.h"
#include "platform/VersionRecord.h"
#include "support/TempDir.h"

namespace qvs::platform {
namespace {

using V = FileVersion;

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(GetFileInformation, MissingFileGivesZero) {
    test::TempDir dir;
    EXPECT_EQ(GetFileInformation(dir.File("absent.exe")), V{});
}

TEST(GetFileInformation, FileWithoutVersionGivesZero) {
    test::TempDir dir;
    WriteFile(dir.File("plain.exe"), std::string(5000, 'x'));
    EXPECT_EQ(GetFileInformation(dir.File("plain.exe")), V{});
}

#ifndef _WIN32
std::string Record(const std::string& text) {
    return std::string(VersionRecordTag) + text + '\0';
}

TEST(GetFileInformation, ReadsTheEmbeddedRecord) {
    test::TempDir dir;
    WriteFile(dir.File("qvs.exe"), std::string(1000, '\0') + Record("1.2.10.0") + "tail");
    EXPECT_EQ(GetFileInformation(dir.File("qvs.exe")), (V{1, 2, 10, 0}));
}

TEST(GetFileInformation, MatchesTheNameWithoutRegardToCase) {
    test::TempDir dir;
    WriteFile(dir.File("QVS.exe"), Record("4.3.2.1"));
    EXPECT_EQ(GetFileInformation(dir.Str() + "qvs.exe"), (V{4, 3, 2, 1}));
}

TEST(GetFileInformation, FindsARecordAcrossTheReadBoundary) {
    // Files are read in 1 MiB pieces; put the record across the first edge.
    for (const std::size_t before : {(1u << 20) - 30, (1u << 20) - 5, (1u << 20) - 1}) {
        test::TempDir dir;
        WriteFile(dir.File("qvs.exe"), std::string(before, 'z') + Record("9.8.7.6") + "x");
        EXPECT_EQ(GetFileInformation(dir.File("qvs.exe")), (V{9, 8, 7, 6})) << before;
    }
}

TEST(GetFileInformation, DamagedRecordGivesZero) {
    test::TempDir dir;
    WriteFile(dir.File("qvs.exe"), Record("") + std::string(VersionRecordTag) + "1.2\n3");
    EXPECT_EQ(GetFileInformation(dir.File("qvs.exe")), V{});
}

TEST(GetFileInformation, NonNumericPieceGivesZeroForThatPiece) {
    test::TempDir dir;
    WriteFile(dir.File("qvs.exe"), Record("2.b.3.4"));
    EXPECT_EQ(GetFileInformation(dir.File("qvs.exe")), (V{2, 0, 3, 4}));
}

TEST(GetFileInformation, FindsTheRecordThisProgramEmbedsInItself) {
    // ctest runs the tests in the folder that holds the test program.
    if (!std::ifstream("workers_tests")) {
        GTEST_SKIP() << "not started from its build folder";
    }
    EXPECT_EQ(GetFileInformation("workers_tests"), (V{build::VersionMajor, build::VersionMinor,
                                                      build::VersionRelease, build::VersionBuild}));
}
#else
TEST(GetFileInformation, ReadsTheVersionResource) {
    // The Windows build of this program carries a version resource (test.rc).
    if (!std::ifstream("workers_tests.exe")) {
        GTEST_SKIP() << "not started from its build folder";
    }
    EXPECT_EQ(GetFileInformation("workers_tests.exe"), (V{1, 2, 10, 0}));
}
#endif

} // namespace
} // namespace qvs::platform
