// What a runnable program file looks like on this platform, so that a
// download that is not one (an error page, a cut-off body) never replaces one.
#pragma once

#include <string_view>

namespace qvs::platform {

// True when bytes start the way a program of this platform does: "MZ" on
// Windows; an ELF header or "#!" elsewhere.
bool IsExecutableImage(std::string_view bytes);

// Makes the file runnable by whoever may read it (POSIX execute bits); a
// no-op returning true on Windows. False when the file cannot be changed.
bool MakeRunnable(std::string_view path);

} // namespace qvs::platform
