// The error report: the game's error log and the launcher's configuration
// file as one text that the player pastes into a mail to the developers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qvs {

// At most this many lines of the error log go into the report.
inline constexpr std::size_t ErrorLogLineLimit = 102;
// A longer log line is cut to this many characters; the next line follows.
inline constexpr std::size_t ErrorLogLineLength = 1023;
// A log of at least this many bytes is offered for sending after the first
// game-server status check.
inline constexpr std::uintmax_t ErrorLogReportSize = 100;

// The first lines of the error log, without their line breaks (a CR before
// the LF is dropped too). Every LF ends a line, so a log ending in a line
// break gives one empty line after its last one. Empty when the file is
// missing or cannot be read.
std::vector<std::string> ReadErrorLogLines(const std::string& errorLogPath);

// The configuration file's lines, each followed by CR LF; "" when the file
// is missing.
std::string ConfigurationReportText(const std::string& configPath);

// The report as built when the launcher starts: the configuration text, one
// CR LF, then the log lines, each followed by CR LF. A missing file leaves
// its part out (without a configuration file there is no extra CR LF).
std::string BuildErrorReportText(const std::string& configPath, const std::string& errorLogPath);

// The mail link that opens the player's mail program on the report mail.
// Subject and body are passed as they are, not percent-encoded.
std::string ErrorReportMailLink(std::string_view address);

// Whether the error log exists and holds at least ErrorLogReportSize bytes.
bool ShouldOfferErrorReport(const std::string& errorLogPath);

} // namespace qvs
