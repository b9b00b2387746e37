// The patch program's command line as the launcher gives it: a space, the
// launcher's process id, a space and its short name (" 1234 qvs").
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qvs {

struct PatchArguments {
    std::uint32_t processId = 0;
    std::string shortName;
};

// args without the program name. The two words may arrive as two arguments
// or as one text; anything else, a process id that is not a positive
// decimal number, or a short name that is not a plain file name stem (it
// names files in the installation directory) gives nothing.
std::optional<PatchArguments> ParsePatchArguments(const std::vector<std::string>& args);

} // namespace qvs
