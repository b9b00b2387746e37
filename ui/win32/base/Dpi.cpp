#include "ui/win32/base/Dpi.h"

namespace qvs::win32 {

namespace {

// Functions of newer Windows are looked up, never imported: one missing
// import stops the whole program from loading on an older system.
template <typename Function> Function UserFunction(const char* name) {
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    const FARPROC found = user32 != nullptr ? GetProcAddress(user32, name) : nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

Dpi ScreenDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return {dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI};
}

} // namespace

Dpi DpiOf(HWND window) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = UserFunction<GetDpiForWindowFunction>("GetDpiForWindow");
    if (getDpiForWindow != nullptr && window != nullptr) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi != 0) {
            return {static_cast<int>(dpi)};
        }
    }
    return ScreenDpi();
}

SIZE OuterSize(SIZE client, DWORD style, DWORD exStyle, Dpi dpi) {
    using AdjustFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjust = UserFunction<AdjustFunction>("AdjustWindowRectExForDpi");
    RECT bounds{0, 0, client.cx, client.cy};
    if (adjust == nullptr ||
        !adjust(&bounds, style, FALSE, exStyle, static_cast<UINT>(dpi.value))) {
        AdjustWindowRectEx(&bounds, style, FALSE, exStyle);
    }
    return {bounds.right - bounds.left, bounds.bottom - bounds.top};
}

} // namespace qvs::win32
