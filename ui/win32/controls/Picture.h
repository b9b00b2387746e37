// A picture decoded once with GDI+ (JPEG, PNG) into a 32-bit DIB with
// premultiplied alpha, at the size it is drawn, so AlphaBlend draws it as it
// is, transparency included.
#pragma once

#include "ui/win32/base/Dpi.h"
#include "ui/win32/base/Handles.h"

#include <cstddef>
#include <span>

namespace qvs::win32 {

// GdiplusStartup ... GdiplusShutdown around every GDI+ use.
class GdiplusSession {
public:
    GdiplusSession();
    ~GdiplusSession();
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

private:
    ULONG_PTR token_ = 0;
};

class Picture {
public:
    // Decodes the bytes and scales the picture from 96 DPI to the DPI
    // (high-quality bicubic); a picture that cannot be decoded is empty.
    static Picture Decode(std::span<const std::byte> bytes, Dpi dpi);

    bool Empty() const { return !bitmap_; }
    SIZE Size() const { return size_; }
    HBITMAP Get() const { return bitmap_.Get(); }
    // Draws the top-left part of the picture of the given size at the place.
    void Draw(HDC target, POINT at, SIZE part) const;

private:
    Bitmap bitmap_;
    SIZE size_{0, 0};
};

} // namespace qvs::win32
