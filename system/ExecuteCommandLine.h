// Running a command line hidden and collecting what it wrote.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "platform/Process.h"
#include "system/IPrompts.h"
#include "system/TextLines.h"

namespace qvs {

// Clears lines, runs the command line and waits for it to end, then fills
// lines with its standard output followed by its standard error (joined with
// no separator), split into lines. On failure (a pipe or the process cannot
// be made, or the child had to be stopped after timeLimit) the reason is
// shown through prompts, lines stay empty and the result is false.
bool ExecuteCommandLine(const std::string& commandLine, std::vector<std::string>& lines,
                        IPrompts& prompts,
                        std::chrono::milliseconds timeLimit = platform::kDefaultProcessTimeLimit);

} // namespace qvs
