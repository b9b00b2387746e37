// The front end scales every window as a whole: bounds, font heights and
// pictures all take the one factor DPI / 96, applied here. The tables keep
// pixels at 96 DPI.
#pragma once

#include "ui/win32/base/Win32.h"

namespace qvs::win32 {

struct Dpi {
    int value = USER_DEFAULT_SCREEN_DPI;

    int Scale(int pixels) const { return MulDiv(pixels, value, USER_DEFAULT_SCREEN_DPI); }
    RECT Scale(const RECT& bounds) const {
        return {Scale(bounds.left), Scale(bounds.top), Scale(bounds.right), Scale(bounds.bottom)};
    }
};

// The window's DPI (GetDpiForWindow where the system has it), else the
// screen's; Windows before 10 and Wine have only the latter.
Dpi DpiOf(HWND window);

// The outer size of a framed window for a client size at a DPI
// (AdjustWindowRectExForDpi where the system has it).
SIZE OuterSize(SIZE client, DWORD style, DWORD exStyle, Dpi dpi);

} // namespace qvs::win32
