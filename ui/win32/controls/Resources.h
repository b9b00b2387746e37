// The art and fonts the exe carries as RCDATA, named by their file names.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace qvs::win32 {

// The bytes of the RCDATA resource of this name (letter case does not
// matter); empty when there is none. They live as long as the exe.
std::span<const std::byte> ResourceBytes(std::string_view name);

} // namespace qvs::win32
