// std::filesystem paths from and to the UTF-8 strings the program keeps.
//
// On Windows a std::filesystem::path made from a std::string, and its
// string(), read the bytes in a narrow encoding (with MinGW's library each
// byte is one character), so every name outside ASCII would name another
// file; std::ifstream and std::ofstream given a std::string go through the
// ANSI code page. These two go through UTF-8 on every platform; a stream
// opened with the path they give works with any name.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace qvs::platform {

inline std::filesystem::path Utf8Path(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string Utf8String(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace qvs::platform
