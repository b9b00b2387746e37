// What a program is given by the system it runs on: its arguments, its own
// file, its working directory and its environment, all as UTF-8. On Windows
// they come from the wide functions (GetCommandLineW, GetModuleFileNameW,
// ...), since the 8-bit forms (main's argv among them) pass through the ANSI
// code page and lose every character outside it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qvs::platform {

// The arguments after the program name. On Windows main's argc and argv are
// ignored and the command line is split as the C runtime splits it.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// The full path of the running program's file; empty when unknown.
std::string ProgramPath();

// The working directory, with no trailing separator (except for a root);
// nothing when it cannot be read or named in UTF-8.
std::optional<std::string> CurrentDirectory();

// The value of an environment variable; nothing when it is not set.
std::optional<std::string> EnvironmentVariable(std::string_view name);

} // namespace qvs::platform
