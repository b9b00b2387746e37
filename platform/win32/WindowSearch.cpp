#include "platform/WindowSearch.h"

#include <windows.h>

#include <string>

namespace qvs::platform {

namespace {

struct Search {
    std::string_view title;
    std::string_view className;
    HWND found = nullptr;
};

// Both texts are read into buffers of 255 characters, terminator included.
BOOL CALLBACK CheckWindow(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<Search*>(data);
    char title[255] = {};
    char className[255] = {};
    GetWindowTextA(window, title, static_cast<int>(sizeof title));
    GetClassNameA(window, className, static_cast<int>(sizeof className));
    if (search.title == title && search.className == className) {
        search.found = window;
    }
    return TRUE;
}

} // namespace

std::uintptr_t FindTopLevelWindow(std::string_view title, std::string_view className) {
    Search search{title, className};
    EnumWindows(CheckWindow, reinterpret_cast<LPARAM>(&search));
    return reinterpret_cast<std::uintptr_t>(search.found);
}

} // namespace qvs::platform
