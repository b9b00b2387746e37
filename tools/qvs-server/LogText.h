// Text from the network made safe for a one-line log, in double quotes:
// control characters, bytes outside ASCII, the backslash and the double quote
// are written as escapes, so a name can neither end a line nor forge one.
// Longer text is cut, and the cut is said after the closing quote, where no
// text of the client can be.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qvs {

inline constexpr std::size_t MaxLoggedText = 200; // bytes before escaping

std::string QuoteForLog(std::string_view text);

} // namespace qvs
