// File names of the programs the launcher starts, as each platform spells them.
#pragma once

#include <string_view>

namespace qvs::platform {

#ifdef _WIN32
inline constexpr std::string_view PatchProgramName = "UpdateQvsPatch.exe";
#else
inline constexpr std::string_view PatchProgramName = "UpdateQvsPatch";
#endif

} // namespace qvs::platform
