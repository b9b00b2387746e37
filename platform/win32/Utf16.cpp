#include "platform/win32/Utf16.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdio>

namespace qvs::platform::win32 {

namespace {

// Longest path the file functions take without the "\\?\" prefix.
constexpr std::size_t kShortPathLimit = MAX_PATH - 12;

// Converted texts are bounded by int, the length type of the conversions.
bool Fits(std::size_t size) {
    return size <= static_cast<std::size_t>(INT_MAX);
}

// Length of the valid UTF-8 sequence at the start of text, 0 when it is not one.
std::size_t SequenceLength(std::string_view text) {
    const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
        return 1;
    }
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || text.size() < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return 0;
        }
    }
    // No overlong forms, no surrogates, nothing above U+10FFFF.
    const unsigned char second = byte(1);
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) ||
        (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second >= 0x90)) {
        return 0;
    }
    return length;
}

std::wstring Printable(std::wstring_view text) {
    std::wstring out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t unit = text[i];
        const bool high = unit >= 0xD800 && unit <= 0xDBFF;
        const bool pair =
            high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
        if (pair) {
            out += unit;
            out += text[++i];
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            wchar_t escaped[8];
            std::swprintf(escaped, 8, L"\\u%04X", static_cast<unsigned>(unit));
            out += escaped;
        } else {
            out += unit;
        }
    }
    return out;
}

} // namespace

std::optional<std::wstring> TryWiden(std::string_view utf8) {
    if (utf8.empty()) {
        return std::wstring();
    }
    if (!Fits(utf8.size())) {
        return std::nullopt;
    }
    const int size = static_cast<int>(utf8.size());
    const int length =
        ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
    if (length <= 0) {
        return std::nullopt;
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    if (::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, wide.data(),
                              length) != length) {
        return std::nullopt;
    }
    return wide;
}

std::optional<std::string> TryNarrow(std::wstring_view utf16) {
    if (utf16.empty()) {
        return std::string();
    }
    if (!Fits(utf16.size())) {
        return std::nullopt;
    }
    const int size = static_cast<int>(utf16.size());
    const int length = ::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, utf16.data(), size,
                                             nullptr, 0, nullptr, nullptr);
    if (length <= 0) {
        return std::nullopt;
    }
    std::string narrow(static_cast<std::size_t>(length), '\0');
    if (::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, utf16.data(), size, narrow.data(),
                              length, nullptr, nullptr) != length) {
        return std::nullopt;
    }
    return narrow;
}

std::wstring Widen(std::string_view utf8) {
    std::optional<std::wstring> wide = TryWiden(utf8);
    if (!wide) {
        throw EncodingError("Not a valid UTF-8 text: \"" + Printable(utf8) + "\"");
    }
    return *std::move(wide);
}

std::string Narrow(std::wstring_view utf16) {
    std::optional<std::string> narrow = TryNarrow(utf16);
    if (!narrow) {
        throw EncodingError("Not a valid UTF-16 text: \"" +
                            TryNarrow(Printable(utf16)).value_or("?") + "\"");
    }
    return *std::move(narrow);
}

std::string FromCodePage(std::string_view bytes, unsigned codePage) {
    if (bytes.empty() || !Fits(bytes.size())) {
        return std::string();
    }
    const int size = static_cast<int>(bytes.size());
    const int length = ::MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    if (length <= 0) {
        return std::string(bytes);
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(), length);
    // Lone surrogates cannot come from an 8-bit code page, but a table may be odd.
    return TryNarrow(Printable(wide)).value_or(std::string());
}

std::string Printable(std::string_view maybeUtf8) {
    std::string out;
    while (!maybeUtf8.empty()) {
        const std::size_t length = SequenceLength(maybeUtf8);
        if (length == 0) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X",
                          static_cast<unsigned char>(maybeUtf8[0]));
            out += escaped;
        } else {
            out += maybeUtf8.substr(0, length);
        }
        maybeUtf8.remove_prefix(length == 0 ? 1 : length);
    }
    return out;
}

std::optional<std::wstring> TryWidePath(std::string_view path) {
    std::optional<std::wstring> wide = TryWiden(path);
    if (!wide) {
        return std::nullopt;
    }
    std::replace(wide->begin(), wide->end(), L'/', L'\\');
    if (wide->starts_with(L"\\\\?\\") || wide->starts_with(L"\\\\.\\")) {
        return wide;
    }
    const DWORD needed = ::GetFullPathNameW(wide->c_str(), 0, nullptr, nullptr);
    if (needed == 0 || needed <= kShortPathLimit) {
        return wide; // short enough, or left for the file function to refuse
    }
    std::wstring full(needed, L'\0');
    const DWORD got = ::GetFullPathNameW(wide->c_str(), needed, full.data(), nullptr);
    if (got == 0 || got >= needed) {
        return wide;
    }
    full.resize(got);
    if (full.starts_with(L"\\\\")) {
        return L"\\\\?\\UNC\\" + full.substr(2);
    }
    return L"\\\\?\\" + full;
}

std::wstring WidePath(std::string_view path) {
    std::optional<std::wstring> wide = TryWidePath(path);
    if (!wide) {
        throw EncodingError("Not a valid UTF-8 name: \"" + Printable(path) + "\"");
    }
    return *std::move(wide);
}

} // namespace qvs::platform::win32
