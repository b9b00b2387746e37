#include "ui/win32/base/BackBuffer.h"

namespace qvs::win32 {

BackBuffer::~BackBuffer() {
    if (dc_) {
        SelectObject(dc_.Get(), original_);
    }
}

bool BackBuffer::Prepare(HDC reference, SIZE size) {
    if (dc_ && size.cx == size_.cx && size.cy == size_.cy) {
        return false;
    }
    if (dc_) {
        SelectObject(dc_.Get(), original_); // never delete a selected bitmap
    }
    bitmap_.Reset();
    dc_.Reset(CreateCompatibleDC(reference));
    bitmap_.Reset(CreateCompatibleBitmap(reference, size.cx, size.cy));
    original_ = SelectObject(dc_.Get(), bitmap_.Get());
    size_ = size;
    return true;
}

void BackBuffer::CopyTo(HDC target, const RECT& area) const {
    BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top, dc_.Get(),
           area.left, area.top, SRCCOPY);
}

} // namespace qvs::win32
