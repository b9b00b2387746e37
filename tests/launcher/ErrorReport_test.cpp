#include "launcher/ErrorReport.h"

#include "support/RawFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
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
};

TEST_F(ErrorReportTest, LogSplitsIntoLinesAsTheLogReaderDoes) {
    const std::string cut(1023, 'y');
    const std::pair<std::string, Lines> cases[] = {
        {"", {""}},
        {"first\nsecond", {"first", "second"}},
        {"first\r\nsecond\r\n", {"first", "second", ""}},
        {"a\n\n\nb", {"a", "", "", "b"}},
        {"a\rb\n", {"a\rb", ""}},
        {"caf\xe9\t\x01\n", {"caf\xe9\t\x01", ""}},
        {std::string("a\0b", 3), {std::string("a\0b", 3)}},
        {cut + "\r\nnext", {cut, "next"}},
        {cut + "z\n" + cut + std::string(100000, 'w') + "\r\nafter", {cut, cut, "after"}}};
    for (const auto& [content, expected] : cases) {
        WriteLog(content);
        EXPECT_EQ(ReadErrorLogLines(logPath), expected) << content.substr(0, 20);
    }
}

TEST_F(ErrorReportTest, LogGivesAtMostItsFirst102Lines) {
    const std::pair<std::string, std::string> cases[] = {
        {NumberedLines(150), "line 102"},
        {NumberedLines(102), "line 102"},
        {NumberedLines(101), ""},
        {std::string(2000, 'y') + "\n" + NumberedLines(200), "line 101"}};
    for (const auto& [content, last] : cases) {
        WriteLog(content);
        const Lines lines = ReadErrorLogLines(logPath);
        ASSERT_EQ(lines.size(), 102u);
        EXPECT_EQ(lines.back(), last);
    }
}

// Offered from 100 bytes on; the log's name is matched without regard to case.
TEST_F(ErrorReportTest, OfferNeedsAtLeast100Bytes) {
    for (std::size_t size : {0, 1, 99, 100, 101, 70000}) {
        WriteLog(std::string(size, 'e'));
        EXPECT_EQ(ShouldOfferErrorReport(logPath), size >= 100) << size;
    }
    std::filesystem::remove(logPath);
    test::WriteRawFile(dir.Path() / "BETAERRORLOG.OUT", "found\n" + std::string(100, 'x'));
    EXPECT_EQ(ReadErrorLogLines(logPath), (Lines{"found", std::string(100, 'x')}));
    EXPECT_TRUE(ShouldOfferErrorReport(logPath));
}

TEST_F(ErrorReportTest, MissingOrDirectoryLogGivesNoLinesAndIsNotOffered) {
    EXPECT_TRUE(ReadErrorLogLines(logPath).empty());
    EXPECT_FALSE(ShouldOfferErrorReport(logPath));
    std::filesystem::create_directory(logPath);
    test::WriteRawFile(std::filesystem::path(logPath) / "inside", std::string(500, 'x'));
    EXPECT_TRUE(ReadErrorLogLines(logPath).empty());
    EXPECT_FALSE(ShouldOfferErrorReport(logPath));
}

// The report is the configuration with its line breaks made CR LF, an empty
// line, then the log lines.
TEST_F(ErrorReportTest, ReportIsConfigurationThenEmptyLineThenLog) {
    struct Case {
        std::optional<std::string> config;
        std::optional<std::string> log;
        std::string report;
    };
    const Case cases[] = {
        {"[AUI]\r\nCAN_PING=TRUE\r\n", "Exception in thread\n\tat Game.run\n",
         "[AUI]\r\nCAN_PING=TRUE\r\n\r\nException in thread\r\n\tat Game.run\r\n\r\n"},
        {"[A]\nK=V\rL=W", std::nullopt, "[A]\r\nK=V\r\nL=W\r\n\r\n"},
        {std::nullopt, "only\nlog", "only\r\nlog\r\n"},
        {"", "x", "\r\nx\r\n"},
        {std::nullopt, std::nullopt, ""}};
    for (const Case& c : cases) {
        std::filesystem::remove(configPath);
        std::filesystem::remove(logPath);
        if (c.config) {
            test::WriteRawFile(configPath, *c.config);
        }
        if (c.log) {
            WriteLog(*c.log);
        }
        EXPECT_EQ(BuildErrorReportText(configPath, logPath), c.report);
    }
    EXPECT_EQ(ConfigurationReportText(configPath), "");
}

TEST(ErrorReportMailLinkTest, IsByteExactAndNotEncoded) {
    EXPECT_EQ(
        ErrorReportMailLink("errors@example.invalid"),
        "mailto:errors@example.invalid?subject=Error Log&body=Click here and press <control><v>.  Also post comments about error if you know what caused it. \n");
}

} // namespace
} // namespace qvs
