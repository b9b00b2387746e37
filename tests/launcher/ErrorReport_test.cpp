#include "launcher/ErrorReport.h"

#include "support/RawFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace qvs {
namespace {

using Lines = std::vector<std::string>;

std::string NumberedLines(int count) {
    std::string text;
    for (int i = 1; i <= count; ++i) {
        text += "line " + std::to_string(i) + "\n";
    }
    return text;
}

class ErrorReportTest : public ::testing::Test {
protected:
    test::TempDir dir;
    std::string logPath = dir.File("betaErrorLog.out");
    std::string configPath = dir.File("qvs.cfg");

    void WriteLog(const std::string& bytes) { test::WriteRawFile(logPath, bytes); }
    void WriteConfig(const std::string& bytes) { test::WriteRawFile(configPath, bytes); }
};

struct LogCase {
    const char* name;
    std::string content;
    Lines expected;
};

class LogLinesTest : public ErrorReportTest, public ::testing::WithParamInterface<LogCase> {};

TEST_P(LogLinesTest, SplitsAsTheLogReaderDoes) {
    WriteLog(GetParam().content);
    EXPECT_EQ(ReadErrorLogLines(logPath), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Contents, LogLinesTest,
    ::testing::Values(
        LogCase{"EmptyFileGivesOneEmptyLine", "", {""}},
        LogCase{"NoFinalBreak", "first\nsecond", {"first", "second"}},
        LogCase{"FinalBreakGivesEmptyLastLine", "first\nsecond\n", {"first", "second", ""}},
        LogCase{"CrLfBreaksLoseTheirCr", "first\r\nsecond\r\n", {"first", "second", ""}},
        LogCase{"InnerEmptyLinesKept", "a\n\n\nb", {"a", "", "", "b"}},
        LogCase{"LoneCrStaysInsideLine", "a\rb\n", {"a\rb", ""}},
        LogCase{"EightBitBytesKept", "caf\xe9\t\x01\n", {"caf\xe9\t\x01", ""}},
        LogCase{"NulBytesKept", std::string("a\0b", 3), {std::string("a\0b", 3)}}),
    [](const ::testing::TestParamInfo<LogCase>& info) { return std::string(info.param.name); });

TEST_F(ErrorReportTest, MissingLogGivesNoLines) {
    EXPECT_TRUE(ReadErrorLogLines(logPath).empty());
}

TEST_F(ErrorReportTest, DirectoryInPlaceOfLogGivesNoLines) {
    std::filesystem::create_directory(logPath);
    EXPECT_TRUE(ReadErrorLogLines(logPath).empty());
}

TEST_F(ErrorReportTest, LogOfMoreThan102LinesGivesItsFirst102) {
    WriteLog(NumberedLines(150));
    const Lines lines = ReadErrorLogLines(logPath);
    ASSERT_EQ(lines.size(), 102u);
    EXPECT_EQ(lines.front(), "line 1");
    EXPECT_EQ(lines.back(), "line 102");
}

TEST_F(ErrorReportTest, Exactly102LinesWithFinalBreakLeaveOutTheEmptyLine) {
    WriteLog(NumberedLines(102));
    const Lines lines = ReadErrorLogLines(logPath);
    ASSERT_EQ(lines.size(), 102u);
    EXPECT_EQ(lines.back(), "line 102");
}

TEST_F(ErrorReportTest, Exactly101LinesWithFinalBreakEndInTheEmptyLine) {
    WriteLog(NumberedLines(101));
    const Lines lines = ReadErrorLogLines(logPath);
    ASSERT_EQ(lines.size(), 102u);
    EXPECT_EQ(lines[100], "line 101");
    EXPECT_EQ(lines.back(), "");
}

TEST_F(ErrorReportTest, LineOf1023CharactersIsKeptWhole) {
    const std::string full(1023, 'x');
    WriteLog(full + "\r\nnext");
    EXPECT_EQ(ReadErrorLogLines(logPath), (Lines{full, "next"}));
}

TEST_F(ErrorReportTest, LongerLinesAreCutAndReadingGoesOn) {
    const std::string cut(1023, 'y');
    WriteLog(cut + "z\n" + cut + std::string(100000, 'w') + "\r\nafter\n" + NumberedLines(200));
    const Lines lines = ReadErrorLogLines(logPath);
    ASSERT_EQ(lines.size(), 102u);
    EXPECT_EQ(lines[0], cut);
    EXPECT_EQ(lines[1], cut);
    EXPECT_EQ(lines[2], "after");
    EXPECT_EQ(lines[3], "line 1");
    EXPECT_EQ(lines.back(), "line 99");
}

TEST_F(ErrorReportTest, LogNameIsMatchedWithoutRegardToCase) {
    test::WriteRawFile(dir.Path() / "BETAERRORLOG.OUT", "found\n");
    EXPECT_EQ(ReadErrorLogLines(logPath), (Lines{"found", ""}));
}

TEST_F(ErrorReportTest, ReportIsConfigurationThenEmptyLineThenLog) {
    WriteConfig("[AUI]\r\nCAN_PING=TRUE\r\n");
    WriteLog("Exception in thread\n\tat Game.run\n");
    EXPECT_EQ(BuildErrorReportText(configPath, logPath),
              "[AUI]\r\nCAN_PING=TRUE\r\n\r\nException in thread\r\n\tat Game.run\r\n\r\n");
}

TEST_F(ErrorReportTest, ConfigurationLineBreaksBecomeCrLf) {
    WriteConfig("[A]\nK=V\rL=W");
    EXPECT_EQ(ConfigurationReportText(configPath), "[A]\r\nK=V\r\nL=W\r\n");
}

TEST_F(ErrorReportTest, WithoutLogTheConfigurationIsFollowedByOneEmptyLine) {
    WriteConfig("[A]\r\nK=V\r\n");
    EXPECT_EQ(BuildErrorReportText(configPath, logPath), "[A]\r\nK=V\r\n\r\n");
}

TEST_F(ErrorReportTest, WithoutConfigurationOnlyTheLogLinesRemain) {
    WriteLog("only\nlog");
    EXPECT_EQ(BuildErrorReportText(configPath, logPath), "only\r\nlog\r\n");
}

TEST_F(ErrorReportTest, EmptyConfigurationStillSeparatesWithOneBreak) {
    WriteConfig("");
    WriteLog("x");
    EXPECT_EQ(BuildErrorReportText(configPath, logPath), "\r\nx\r\n");
}

TEST_F(ErrorReportTest, NeitherFileGivesEmptyReport) {
    EXPECT_EQ(BuildErrorReportText(configPath, logPath), "");
    EXPECT_EQ(ConfigurationReportText(configPath), "");
}

TEST(ErrorReportMailLinkTest, IsByteExactAndNotEncoded) {
    const std::string link = ErrorReportMailLink("errors@example.invalid");
    EXPECT_EQ(
        link,
        "mailto:errors@example.invalid?subject=Error Log&body=Click here and press <control><v>.  Also post comments about error if you know what caused it. \n");
    ASSERT_FALSE(link.empty());
    EXPECT_EQ(link.back(), '\x0a');
    EXPECT_EQ(link.find('%'), std::string::npos);
}

struct SizeCase {
    std::size_t size;
    bool offered;
};

class OfferErrorReportTest : public ErrorReportTest,
                             public ::testing::WithParamInterface<SizeCase> {};

TEST_P(OfferErrorReportTest, NeedsAtLeast100Bytes) {
    WriteLog(std::string(GetParam().size, 'e'));
    EXPECT_EQ(ShouldOfferErrorReport(logPath), GetParam().offered);
}

INSTANTIATE_TEST_SUITE_P(Sizes, OfferErrorReportTest,
                         ::testing::Values(SizeCase{0, false}, SizeCase{1, false},
                                           SizeCase{99, false}, SizeCase{100, true},
                                           SizeCase{101, true}, SizeCase{70000, true}));

TEST_F(ErrorReportTest, MissingLogIsNotOffered) {
    EXPECT_FALSE(ShouldOfferErrorReport(logPath));
}

TEST_F(ErrorReportTest, DirectoryNamedLikeTheLogIsNotOffered) {
    std::filesystem::create_directory(logPath);
    test::WriteRawFile(std::filesystem::path(logPath) / "inside", std::string(500, 'x'));
    EXPECT_FALSE(ShouldOfferErrorReport(logPath));
}

TEST_F(ErrorReportTest, LogFoundWithoutRegardToCaseIsOffered) {
    test::WriteRawFile(dir.Path() / "BetaErrorLog.OUT", std::string(100, 'x'));
    EXPECT_TRUE(ShouldOfferErrorReport(logPath));
}

} // namespace
} // namespace qvs
