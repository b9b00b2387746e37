#include "launcher/gui/JpegError.h"
#include "launcher/gui/JpegImage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace qvs {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ReadResource(const std::string& name) {
    std::ifstream in(std::string(QVS_RESOURCES_DIR) + "/" + name, std::ios::binary);
    EXPECT_TRUE(in) << name;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Offset of the first start-of-frame marker's height field.
std::size_t FrameSizeOffset(const Bytes& data) {
    for (std::size_t i = 2; i + 9 < data.size(); ++i) {
        if (data[i] == 0xFF && (data[i + 1] == 0xC0 || data[i + 1] == 0xC2)) {
            return i + 5;
        }
    }
    return 0;
}

// A picture is never handed back half-decoded: every cut of a small picture,
// the large one without its end marker, a frame that claims 65000 x 65000 pixels (12 GB) or
// none, damaged entropy data and foreign data are all refused.
TEST(JpegImage, DamagedTruncatedAndForeignDataAreRefused) {
    const Bytes small = ReadResource("imgDownloadBar.jpg");
    const Bytes large = ReadResource("imgBackground.jpg");
    std::vector<std::pair<std::string, Bytes>> cases;
    for (std::size_t keep = 0; keep < small.size(); ++keep) {
        cases.emplace_back("small cut to " + std::to_string(keep),
                           Bytes(small.begin(), small.begin() + static_cast<long>(keep)));
    }
    cases.emplace_back("large without its end", Bytes(large.begin(), large.end() - 2));
    const std::size_t frame = FrameSizeOffset(small);
    ASSERT_NE(frame, 0u);
    Bytes huge = small;
    huge[frame] = huge[frame + 2] = 0xFD;
    huge[frame + 1] = huge[frame + 3] = 0xE8;
    cases.emplace_back("huge frame", huge);
    Bytes empty = small;
    empty[frame + 2] = empty[frame + 3] = 0;
    cases.emplace_back("zero width", empty);
    // Markers that cannot appear inside the compressed picture.
    Bytes corrupt = large;
    for (std::size_t i = 0; i < 64; i += 2) {
        corrupt[large.size() / 2 + i] = 0xFF;
        corrupt[large.size() / 2 + i + 1] = static_cast<std::uint8_t>(0xD0 + (i / 2) % 8);
    }
    cases.emplace_back("corrupt entropy data", corrupt);
    const std::string gif("GIF89a\x01\x00\x01\x00\x00\x00\x00;", 14);
    cases.emplace_back("gif", Bytes(gif.begin(), gif.end()));
    cases.emplace_back("zeros", Bytes(4096, 0));

    for (const auto& [name, data] : cases) {
        EXPECT_THROW(JpegImage::Decode(data), JpegError) << name;
    }
}

} // namespace
} // namespace qvs
