#include "ui/win32/controls/Picture.h"

#include <objidl.h>
#include <shlwapi.h>
// GDI+ wants min and max of its own.
#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
} // namespace Gdiplus
#include <gdiplus.h>

#include <memory>

namespace qvs::win32 {

GdiplusSession::GdiplusSession() {
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&token_, &input, nullptr);
}

GdiplusSession::~GdiplusSession() {
    if (token_ != 0) {
        Gdiplus::GdiplusShutdown(token_);
    }
}

namespace {

struct StreamRelease {
    void operator()(IStream* stream) const { stream->Release(); }
};

} // namespace

Picture Picture::Decode(std::span<const std::byte> bytes, Dpi dpi) {
    Picture picture;
    if (bytes.empty()) {
        return picture;
    }
    const std::unique_ptr<IStream, StreamRelease> stream(SHCreateMemStream(
        reinterpret_cast<const BYTE*>(bytes.data()), static_cast<UINT>(bytes.size())));
    if (!stream) {
        return picture;
    }
    Gdiplus::Bitmap source(stream.get());
    if (source.GetLastStatus() != Gdiplus::Ok || source.GetWidth() == 0) {
        return picture;
    }
    const SIZE size{dpi.Scale(static_cast<int>(source.GetWidth())),
                    dpi.Scale(static_cast<int>(source.GetHeight()))};
    // The scaled picture goes straight into the DIB's memory, premultiplied.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    Bitmap dib(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib) {
        return picture;
    }
    Gdiplus::Bitmap scaled(size.cx, size.cy, size.cx * 4, PixelFormat32bppPARGB,
                           static_cast<BYTE*>(bits));
    {
        Gdiplus::Graphics graphics(&scaled);
        graphics.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
        graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
        graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
        Gdiplus::ImageAttributes edges; // no dark seam from outside the picture
        edges.SetWrapMode(Gdiplus::WrapModeTileFlipXY);
        graphics.DrawImage(&source, Gdiplus::Rect(0, 0, size.cx, size.cy), 0, 0,
                           static_cast<INT>(source.GetWidth()),
                           static_cast<INT>(source.GetHeight()), Gdiplus::UnitPixel, &edges);
    }
    GdiFlush();
    picture.bitmap_ = std::move(dib);
    picture.size_ = size;
    return picture;
}

void Picture::Draw(HDC target, POINT at, SIZE part) const {
    if (Empty()) {
        return;
    }
    MemoryDc source(CreateCompatibleDC(target));
    const SelectGuard select(source.Get(), bitmap_.Get());
    const LONG width = std::min(part.cx, size_.cx);
    const LONG height = std::min(part.cy, size_.cy);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(target, at.x, at.y, width, height, source.Get(), 0, 0, width, height, blend);
}

} // namespace qvs::win32
