// A program to start on its own, not waited for, as the shell is asked to.
#pragma once

#include <string>
#include <vector>

namespace qvs {

// Windows takes the parameters as one text that the program splits itself;
// POSIX takes the same parameters as an argument vector, never through a
// shell.
struct ProgramStart {
    std::string program;
    std::string parameters;
    std::vector<std::string> arguments;
    // Empty: the launcher's own working directory.
    std::string workingDirectory;
    bool hidden = false;

    bool operator==(const ProgramStart&) const = default;
};

} // namespace qvs
