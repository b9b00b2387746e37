// RAII for the handle kinds the front end makes: each is released the one
// way its kind needs, once. The count of live handles lets tests see that
// opening and closing windows leaves none behind (GetGuiResources is a stub
// under Wine).
#pragma once

#include "ui/win32/base/Win32.h"

#include <atomic>
#include <utility>

namespace qvs::win32 {

// Handles of this layer that are open now, all kinds together.
std::atomic<long>& LiveHandles();

template <typename Traits> class UniqueHandle {
public:
    using Type = typename Traits::Type;

    UniqueHandle() = default;
    explicit UniqueHandle(Type handle) : handle_(handle) {
        if (handle_ != nullptr) {
            ++LiveHandles();
        }
    }
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Type Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void Reset(Type handle = nullptr) {
        if (handle_ != nullptr) {
            Traits::Close(handle_);
            --LiveHandles();
        }
        handle_ = handle;
        if (handle_ != nullptr) {
            ++LiveHandles();
        }
    }

private:
    Type handle_ = nullptr;
};

template <typename T> struct GdiObjectTraits {
    using Type = T;
    static void Close(T object) { DeleteObject(object); }
};
struct MemoryDcTraits {
    using Type = HDC;
    static void Close(HDC dc) { DeleteDC(dc); }
};
struct WindowTraits {
    using Type = HWND;
    static void Close(HWND window) { DestroyWindow(window); }
};
struct IconTraits {
    using Type = HICON;
    static void Close(HICON icon) { DestroyIcon(icon); }
};
struct FontResourceTraits {
    using Type = HANDLE;
    static void Close(HANDLE fonts) { RemoveFontMemResourceEx(fonts); }
};

using Font = UniqueHandle<GdiObjectTraits<HFONT>>;
using Bitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using Brush = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using MemoryDc = UniqueHandle<MemoryDcTraits>;
using Window = UniqueHandle<WindowTraits>;
using Icon = UniqueHandle<IconTraits>;
using FontResource = UniqueHandle<FontResourceTraits>;

// GetDC ... ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() { ReleaseDC(window_, dc_); }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// BeginPaint ... EndPaint.
class PaintScope {
public:
    explicit PaintScope(HWND window) : window_(window) { BeginPaint(window_, &paint_); }
    ~PaintScope() { EndPaint(window_, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC Dc() const { return paint_.hdc; }
    const RECT& Area() const { return paint_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
};

// Selects an object into a DC and puts the old one back, so no object is
// ever deleted while selected.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~SelectGuard() { SelectObject(dc_, old_); }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

} // namespace qvs::win32
