#include "support/RawFile.h"
#include "ui/qt/JpegError.h"
#include "ui/qt/JpegImage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace qvs {
namespace {

// A picture is never handed back half-decoded: every cut of a small picture
// (which fails in the header or in the decoding) and a frame that claims
// 65000 x 65000 pixels (12 GB) are refused.
TEST(JpegImage, TruncatedAndOversizedPicturesAreRefused) {
    std::string picture = test::ReadRawFile(QVS_RESOURCES_DIR "/imgDownloadBar.jpg").value_or("");
    ASSERT_GT(picture.size(), 200u);
    const auto decode = [](const std::string& data) {
        (void)JpegImage::Decode({reinterpret_cast<const std::uint8_t*>(data.data()), data.size()});
    };
    for (std::size_t keep = 0; keep < picture.size(); ++keep) {
        EXPECT_THROW(decode(picture.substr(0, keep)), JpegError) << "cut to " << keep;
    }
    // The height and width of the baseline frame marker.
    const std::size_t frame = picture.find("\xFF\xC0");
    ASSERT_NE(frame, std::string::npos);
    EXPECT_THROW(decode(picture.replace(frame + 5, 4, "\xFD\xE8\xFD\xE8")), JpegError);
}

} // namespace
} // namespace qvs
