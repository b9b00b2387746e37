// The command line that starts the Java game client: the installation
// directory and its plugins\timer.jar as the class path, plugins as the
// native library path, a fixed 64 to 128 MiB heap and the main class
// MainClass.StartUp without arguments.
#pragma once

#include "system/ProgramStart.h"

#include <string_view>

namespace qvs {

// For Windows: "javaw.exe " and the whole parameter text (quoted paths with
// "\" and ";"); arguments hold the same items split.
ProgramStart WindowsJavaClientStart(std::string_view installDir);
// For POSIX: "java" with the items as an argument vector (paths with "/",
// ":" between class path entries); parameters hold them as one text.
ProgramStart PosixJavaClientStart(std::string_view installDir);
// The one for the platform the launcher was built for. installDir ends with
// its separator; the working directory stays the launcher's own.
ProgramStart JavaClientStart(std::string_view installDir);

} // namespace qvs
