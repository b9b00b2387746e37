// The art and fonts the exe carries as RCDATA, named by their file names.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qvs::win32 {

// The bytes of the RCDATA resource of this name (letter case does not
// matter); empty when there is none. They live as long as the exe.
std::span<const std::byte> ResourceBytes(std::string_view name);

// The names of every RCDATA resource whose name ends with the suffix
// (".TTF"); resource names are kept in capitals.
std::vector<std::wstring> ResourceNamesEndingWith(std::wstring_view suffix);

} // namespace qvs::win32
