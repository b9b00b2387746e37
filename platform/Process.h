// Running a program hidden, with its standard output and standard error
// captured, and waiting for it to end.
//
// The child gets an empty environment, empty standard input and the
// launcher's working directory. The program is the first token of the command
// line, searched for the way the platform does it (on POSIX along the
// launcher's own PATH). There is no shell: on POSIX the command line is split
// into an argument vector by SplitCommandLine.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ProcessError.h"

namespace qvs::platform {

// On Windows both texts are read in the console code page the child writes
// in (the OEM one; the ANSI one where that does not fit) and given in UTF-8.
struct CapturedOutput {
    std::string output; // everything written to standard output
    std::string errors; // everything written to standard error
    int exitCode = 0;   // -1 when a signal ended the child
};

inline constexpr std::chrono::milliseconds kDefaultProcessTimeLimit{30000};

// Starts the command line, drains both pipes at the same time (so a child
// that fills one of them cannot block) and waits for the child to end.
// Throws ProcessError: OutputPipe or ErrorsPipe when a pipe cannot be made,
// Start when the program cannot be found or started, TimedOut when the child
// (with anything it started) had to be killed after timeLimit.
CapturedOutput RunCapturingOutput(const std::string& commandLine,
                                  std::chrono::milliseconds timeLimit = kDefaultProcessTimeLimit);

// Splits a command line into arguments by the rules Windows programs apply
// to their own command line: blanks and tabs separate arguments outside
// double quotes; quotes group and are dropped; 2n backslashes before a quote
// give n backslashes and the quote groups, 2n+1 give n backslashes and a
// literal quote; other backslashes are literal.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// The id of this process, as the patch program is told to wait for it.
std::uint32_t CurrentProcessId();

} // namespace qvs::platform
