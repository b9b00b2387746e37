// GetFileInformation from the file's version resource.
#include <windows.h>

#include "platform/win32/Utf16.h"

#include <cstring>
#include <string>
#include <vector>

#include "platform/FileVersion.h"

namespace qvs::platform {

FileVersion GetFileInformation(std::string_view path) {
    const std::optional<std::wstring> name = win32::TryWidePath(path);
    if (!name) {
        return {};
    }
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(name->c_str(), &handle);
    if (size == 0) {
        return {};
    }
    std::vector<char> block(size);
    if (!GetFileVersionInfoW(name->c_str(), 0, size, block.data())) {
        return {};
    }
    // U.S. English, code page 1252: the only value that counts. The wide
    // query gives the text in UTF-16, its length in characters.
    const wchar_t query[] = L"\\StringFileInfo\\040904E4\\FileVersion";
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), query, &value, &length) || value == nullptr || length == 0) {
        return {};
    }
    const wchar_t* text = static_cast<const wchar_t*>(value);
    return ParseVersionText(
        win32::TryNarrow(std::wstring(text, wcsnlen(text, length))).value_or(""));
}

} // namespace qvs::platform
