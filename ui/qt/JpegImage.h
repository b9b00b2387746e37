#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace qvs {

// A decoded picture: 8-bit RGB, rows top to bottom, no padding between rows.
struct JpegImage {
    // Pictures of the launcher are a few hundred pixels wide; anything that
    // claims more than this is refused before memory is reserved for it.
    static constexpr std::size_t MaxPixels = std::size_t{1} << 24;

    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;

    // Decodes a complete JPEG file held in memory. Throws JpegError on corrupt
    // or truncated data; a picture is never returned half-decoded.
    static JpegImage Decode(std::span<const std::uint8_t> data);

    // The red, green and blue bytes of one pixel.
    const std::uint8_t* Pixel(int x, int y) const {
        return rgb.data() + (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                             static_cast<std::size_t>(x)) *
                                3;
    }
};

} // namespace qvs
