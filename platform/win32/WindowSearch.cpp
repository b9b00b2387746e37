#include "platform/WindowSearch.h"
#include "platform/win32/Utf16.h"

#include <windows.h>

#include <iterator>
#include <optional>
#include <string>

namespace qvs::platform {

namespace {

struct Search {
    std::wstring title;
    std::wstring className;
    HWND found = nullptr;
};

// Both texts are read into buffers of 255 characters, terminator included,
// and compared in UTF-16, as Windows keeps them.
BOOL CALLBACK CheckWindow(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<Search*>(data);
    wchar_t title[255] = {};
    wchar_t className[255] = {};
    GetWindowTextW(window, title, static_cast<int>(std::size(title)));
    GetClassNameW(window, className, static_cast<int>(std::size(className)));
    if (search.title == title && search.className == className) {
        search.found = window;
    }
    return TRUE;
}

} // namespace

std::uintptr_t FindTopLevelWindow(std::string_view title, std::string_view className) {
    // A text that is not valid UTF-8 is the title of no window.
    const std::optional<std::wstring> wideTitle = win32::TryWiden(title);
    const std::optional<std::wstring> wideClass = win32::TryWiden(className);
    if (!wideTitle || !wideClass) {
        return 0;
    }
    Search search{*wideTitle, *wideClass};
    EnumWindows(CheckWindow, reinterpret_cast<LPARAM>(&search));
    return reinterpret_cast<std::uintptr_t>(search.found);
}

} // namespace qvs::platform
