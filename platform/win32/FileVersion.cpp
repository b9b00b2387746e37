// GetFileInformation from the file's version resource.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/FileVersion.h"

namespace qvs::platform {

FileVersion GetFileInformation(std::string_view path) {
    const std::string name(path);
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(name.c_str(), &handle);
    if (size == 0) {
        return {};
    }
    std::vector<char> block(size);
    if (!GetFileVersionInfoA(name.c_str(), 0, size, block.data())) {
        return {};
    }
    // U.S. English, code page 1252: the only value that counts.
    char query[] = "\\StringFileInfo\\040904E4\\FileVersion";
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), query, &value, &length) || value == nullptr || length == 0) {
        return {};
    }
    const char* text = static_cast<const char*>(value);
    return ParseVersionText(std::string(text, strnlen(text, length)));
}

} // namespace qvs::platform
