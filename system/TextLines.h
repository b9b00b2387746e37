// Text as lines: split at any of the three line breaks, joined with CR LF.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qvs {

// Splits text at CR LF, CR or LF; the breaks are not part of the lines. A
// break at the very end starts no further line, so "a\n" is one line and ""
// none.
std::vector<std::string> SplitIntoLines(std::string_view text);

// Every line followed by CR LF, the last one too.
std::string JoinWithCrLf(const std::vector<std::string>& lines);

} // namespace qvs
