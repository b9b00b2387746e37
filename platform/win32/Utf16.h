// Where text crosses the Win32 boundary: UTF-8 in every std::string of the
// program, UTF-16 in the wide ("W") functions. Both directions are strict, so
// a name that cannot be converted is an error, never a silent "?".
//
// Front ends on Windows convert with these too, so every part of the program
// reads and writes the same encoding.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace qvs::platform::win32 {

// Thrown by Widen and Narrow; the message names the text, with bytes or code
// units that are not valid shown as \xHH or \uHHHH.
class EncodingError : public std::runtime_error {
public:
    explicit EncodingError(const std::string& message) : std::runtime_error(message) {}
};

// UTF-8 to UTF-16 and back. Throw EncodingError on text that is not valid
// UTF-8 (or UTF-16: a lone surrogate); the Try forms give nothing instead.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);
std::optional<std::wstring> TryWiden(std::string_view utf8);
std::optional<std::string> TryNarrow(std::wstring_view utf16);

// Text that a program wrote in an 8-bit code page, as UTF-8. Bytes that are
// not valid in that code page become U+FFFD rather than fail.
std::string FromCodePage(std::string_view bytes, unsigned codePage);

// The text for an error message: valid UTF-8 as it is, other bytes as \xHH.
std::string Printable(std::string_view maybeUtf8);

// A path for the wide file functions: separators as "\", and a path whose
// absolute form is too long for them (248 characters, the limit of
// CreateDirectory) made absolute, normalised and given the "\\?\" prefix
// ("\\?\UNC\" for a share), which lifts the limit. The prefix also turns off
// the normalisation Windows does ("..", "/", doubled separators), hence
// done here first. Shorter paths stay as they are, so reserved names such
// as "CON" keep their usual meaning. Throws EncodingError like Widen.
std::wstring WidePath(std::string_view path);
// The same, nothing for a path that is not valid UTF-8.
std::optional<std::wstring> TryWidePath(std::string_view path);

} // namespace qvs::platform::win32
