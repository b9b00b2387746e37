#include "ui/win32/controls/Resources.h"

#include "ui/win32/base/Text.h"
#include "ui/win32/base/Win32.h"

namespace qvs::win32 {

std::span<const std::byte> ResourceBytes(std::string_view name) {
    const HMODULE module = GetModuleHandleW(nullptr);
    const std::wstring wide = Widen(name);
    const HRSRC found = FindResourceW(module, wide.c_str(), MAKEINTRESOURCEW(10)); // RT_RCDATA
    const HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr) {
        return {};
    }
    return {static_cast<const std::byte*>(bytes), SizeofResource(module, found)};
}

} // namespace qvs::win32
