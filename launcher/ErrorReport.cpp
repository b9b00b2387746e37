#include "launcher/ErrorReport.h"

#include "platform/FileSystem.h"
#include "platform/Utf8Path.h"
#include "system/TextLines.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <system_error>

namespace qvs {

namespace {

constexpr std::string_view CrLf = "\r\n";

struct LogLine {
    std::string text;
    bool endOfFile = false; // the line ran into the end, not into a LF
};

// One line up to its LF or the end of the file. Only the first characters
// are kept, so a line of any length never grows the buffer past the cut.
LogLine ReadCutLine(std::streambuf& input) {
    LogLine line;
    for (;;) {
        const int c = input.sbumpc();
        if (c == std::char_traits<char>::eof()) {
            line.endOfFile = true;
            break;
        }
        if (c == '\n') {
            break;
        }
        if (line.text.size() <= ErrorLogLineLength) {
            line.text.push_back(static_cast<char>(c));
        }
    }
    if (!line.text.empty() && line.text.back() == '\r') {
        line.text.pop_back();
    }
    if (line.text.size() > ErrorLogLineLength) {
        line.text.resize(ErrorLogLineLength);
    }
    return line;
}

} // namespace

std::vector<std::string> ReadErrorLogLines(const std::string& errorLogPath) {
    std::vector<std::string> lines;
    if (!platform::FileExists(errorLogPath)) {
        return lines;
    }
    std::ifstream log(platform::Utf8Path(platform::NativePath(errorLogPath)), std::ios::binary);
    if (!log.is_open()) {
        return lines;
    }
    // The end counts as reached only once a read has run into it, so a final
    // line break (or an empty file) still gives one empty line.
    while (lines.size() < ErrorLogLineLimit) {
        LogLine line = ReadCutLine(*log.rdbuf());
        lines.push_back(std::move(line.text));
        if (line.endOfFile) {
            break;
        }
    }
    return lines;
}

std::string ConfigurationReportText(const std::string& configPath) {
    const std::optional<std::string> text = platform::ReadWholeFile(configPath);
    return text ? JoinWithCrLf(SplitIntoLines(*text)) : std::string();
}

std::string BuildErrorReportText(const std::string& configPath, const std::string& errorLogPath) {
    const std::string logText = JoinWithCrLf(ReadErrorLogLines(errorLogPath));
    if (!platform::FileExists(configPath)) {
        return logText;
    }
    return ConfigurationReportText(configPath) + std::string(CrLf) + logText;
}

std::string ErrorReportMailLink(std::string_view address) {
    std::string link = "mailto:";
    link += address;
    link +=
        "?subject=Error Log&body=Click here and press <control><v>.  Also post comments about error if you know what caused it. ";
    link += '\n';
    return link;
}

bool ShouldOfferErrorReport(const std::string& errorLogPath) {
    if (!platform::FileExists(errorLogPath)) {
        return false;
    }
    std::error_code error;
    const std::uintmax_t size =
        std::filesystem::file_size(platform::Utf8Path(platform::NativePath(errorLogPath)), error);
    return !error && size >= ErrorLogReportSize;
}

} // namespace qvs
