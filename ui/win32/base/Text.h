// The launcher's texts are UTF-8; Windows takes UTF-16. These convert at the
// API boundary and nowhere else.
#pragma once

#include <string>
#include <string_view>

namespace qvs::win32 {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

} // namespace qvs::win32
