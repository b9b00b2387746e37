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

class ErrorReportTest : public ::testing::Test {
protected:
    test::TempDir dir;
    std::string logPath = dir.File("betaErrorLog.out");
    std::string configPath = dir.File("qvs.cfg");
};

// At most the first 102 lines, each cut after 1023 characters; the report is
// offered from 100 bytes on.
TEST_F(ErrorReportTest, LogSplitsIntoLinesAndIsOfferedFrom100Bytes) {
    const std::string cut(1023, 'y');
    const std::pair<std::string, Lines> cases[] = {
        {"", {""}},
        {"a\r\n\n\nb", {"a", "", "", "b"}},
        {"a\rb\n", {"a\rb", ""}},
        {std::string(100, '\n'), Lines(101, "")},
        {std::string("caf\xe9\t\x01\0b", 8), {std::string("caf\xe9\t\x01\0b", 8)}},
        {cut + "\r\nnext", {cut, "next"}},
        {cut + "z\n" + cut + std::string(100000, 'w') + "\r\nafter", {cut, cut, "after"}},
        {std::string(206, '\n'), Lines(102, "")}};
    for (const auto& [content, expected] : cases) {
        test::WriteRawFile(logPath, content);
        EXPECT_EQ(ReadErrorLogLines(logPath), expected) << content.substr(0, 20);
        EXPECT_EQ(ShouldOfferErrorReport(logPath), content.size() >= 100) << content.size();
    }
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
        {std::nullopt, "only\nlog", "only\r\nlog\r\n"}};
    for (const Case& c : cases) {
        std::filesystem::remove(configPath);
        std::filesystem::remove(logPath);
        if (c.config) {
            test::WriteRawFile(configPath, *c.config);
        }
        if (c.log) {
            test::WriteRawFile(logPath, *c.log);
        }
        EXPECT_EQ(BuildErrorReportText(configPath, logPath), c.report);
    }
}

TEST(ErrorReportMailLinkTest, IsByteExactAndNotEncoded) {
    EXPECT_EQ(
        ErrorReportMailLink("errors@example.invalid"),
        "mailto:errors@example.invalid?subject=Error Log&body=Click here and press <control><v>.  Also post comments about error if you know what caused it. \n");
}

} // namespace
} // namespace qvs
