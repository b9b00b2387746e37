// An off-screen picture of a window's client area, kept while its size stays
// the same, so a window paints with one BitBlt and never flickers.
#pragma once

#include "ui/win32/base/Handles.h"

namespace qvs::win32 {

class BackBuffer {
public:
    BackBuffer() = default;
    ~BackBuffer();
    BackBuffer(const BackBuffer&) = delete;
    BackBuffer& operator=(const BackBuffer&) = delete;

    // A memory DC holding a bitmap of the size, compatible with reference;
    // true when it was (re)made and its content is undefined.
    bool Prepare(HDC reference, SIZE size);
    HDC Dc() const { return dc_.Get(); }
    SIZE Size() const { return size_; }
    // Copies the area (client coordinates) to the target.
    void CopyTo(HDC target, const RECT& area) const;

private:
    MemoryDc dc_;
    Bitmap bitmap_;
    HGDIOBJ original_ = nullptr;
    SIZE size_{0, 0};
};

} // namespace qvs::win32
