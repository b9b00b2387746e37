#include "ui/qt/JpegImage.h"

#include "ui/qt/JpegError.h"

#include <limits>
#include <memory>
#include <string>

#include <turbojpeg.h>

namespace qvs {

namespace {

struct TjHandleCloser {
    void operator()(void* handle) const { tjDestroy(handle); }
};
using TjHandle = std::unique_ptr<void, TjHandleCloser>;

[[noreturn]] void Fail(tjhandle handle, const char* step) {
    throw JpegError(std::string("JPEG ") + step + " failed: " + tjGetErrorStr2(handle));
}

} // namespace

JpegImage JpegImage::Decode(std::span<const std::uint8_t> data) {
    if (data.empty()) {
        throw JpegError("JPEG data is empty");
    }
    if (data.size() > std::numeric_limits<unsigned long>::max()) {
        throw JpegError("JPEG data is too large");
    }
    TjHandle handle(tjInitDecompress());
    if (!handle) {
        throw JpegError(std::string("JPEG decoder unavailable: ") + tjGetErrorStr2(nullptr));
    }
    const auto size = static_cast<unsigned long>(data.size());
    JpegImage image;
    int subsampling = 0;
    int colorspace = 0;
    if (tjDecompressHeader3(handle.get(), data.data(), size, &image.width, &image.height,
                            &subsampling, &colorspace) != 0) {
        Fail(handle.get(), "header");
    }
    if (image.width <= 0 || image.height <= 0 ||
        static_cast<std::size_t>(image.width) >
            MaxPixels / static_cast<std::size_t>(image.height)) {
        throw JpegError("JPEG picture size out of range");
    }
    image.rgb.resize(static_cast<std::size_t>(image.width) *
                     static_cast<std::size_t>(image.height) * 3);
    // Stop at the first warning: libjpeg only warns about a truncated or
    // damaged stream and would go on, painting the missing rows grey.
    const int flags = TJFLAG_STOPONWARNING | TJFLAG_LIMITSCANS | TJFLAG_ACCURATEDCT;
    if (tjDecompress2(handle.get(), data.data(), size, image.rgb.data(), image.width, 0,
                      image.height, TJPF_RGB, flags) != 0) {
        Fail(handle.get(), "decoding");
    }
    return image;
}

} // namespace qvs
