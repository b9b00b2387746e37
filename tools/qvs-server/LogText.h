// Text from the network made safe for a one-line log: control characters,
// bytes outside ASCII, the backslash and the double quote are written as
// escapes, so a name can neither end a line nor forge one.
#pragma once

#include <string>
#include <string_view>

namespace qvs {

std::string EscapeForLog(std::string_view text);

} // namespace qvs
