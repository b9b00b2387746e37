#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/FileSystem.h"
#include "support/RawFile.h"
#include "support/TempDir.h"
#include "system/UpdateLog.h"

namespace qvs {
namespace {

TEST(UpdateLog, StaysUnderItsCapDroppingTheOldestWholeLines) {
    test::TempDir dir;
    const UpdateLog log(dir.Str(), "qvs");
    const std::string filler(100, 'x');
    for (int i = 0; i < 2000; ++i) {
        log.Append("line " + std::to_string(i) + " " + filler);
        // Never over the cap, not even by the line that makes it trim.
        ASSERT_LE(std::filesystem::file_size(dir.Path() / "Log" / "update.log"),
                  UpdateLog::MaxBytes)
            << "line " << i;
    }
    const std::string text = platform::ReadWholeFile(dir.File("Log/update.log")).value_or("");
    EXPECT_LE(text.size(), UpdateLog::MaxBytes);
    EXPECT_GT(text.size(), UpdateLog::MaxBytes / 4);
    EXPECT_EQ(text.find("line 0 "), std::string::npos);
    EXPECT_NE(text.find("qvs: line 1999 " + filler + "\n"), std::string::npos);
    // Every line is whole: it starts with the year of its time stamp.
    EXPECT_EQ(text.substr(0, 2), "20");
    EXPECT_EQ(text.find("\nx"), std::string::npos);
}

// "YYYY-MM-DD HH:MM:SS UTC source: message", also on standard error, which
// is where it goes alone when the Log folder cannot be made.
TEST(UpdateLog, OneCallIsOneLineWhateverTheMessageHolds) {
    test::TempDir dir;
    testing::internal::CaptureStderr();
    UpdateLog(dir.Str(), "qvs").Append("Status 404\r\n2020-01-01 00:00:00 UTC forged\x1b[2J");
    const std::string text = platform::ReadWholeFile(dir.File("Log/update.log")).value_or("");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), text);
    EXPECT_EQ(text.substr(19),
              " UTC qvs: Status 404\\x0D\\x0A2020-01-01 00:00:00 UTC forged\\x1B[2J\n");
    EXPECT_EQ(text.substr(4, 1) + text.substr(7, 1) + text.substr(10, 1) + text.substr(13, 1),
              "-- :");
    std::filesystem::remove_all(dir.Path() / "Log");
    test::WriteRawFile(dir.Path() / "Log", "not a folder");
    testing::internal::CaptureStderr();
    UpdateLog(dir.Str(), "qvs").Append("second");
    EXPECT_NE(testing::internal::GetCapturedStderr().find(" UTC qvs: second\n"), std::string::npos);
    EXPECT_EQ(test::ReadRawFile(dir.Path() / "Log"), "not a folder");
}

} // namespace
} // namespace qvs
