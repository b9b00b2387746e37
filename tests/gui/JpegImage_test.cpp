#include "launcher/gui/JpegError.h"
#include "launcher/gui/JpegImage.h"
#include "support/RawFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace qvs {
namespace {

// A picture is never handed back half-decoded: every cut of a small picture
// (which fails in the header or in the decoding) and a frame that claims
// 65000 x 65000 pixels (12 GB) are refused.
TEST(JpegImage, TruncatedAndOversizedPicturesAreRefused) {
    const std::string small =
        test::ReadRawFile(QVS_RESOURCES_DIR "/imgDownloadBar.jpg").value_or("");
    ASSERT_GT(small.size(), 200u);
    std::vector<std::pair<std::string, std::string>> cases;
    for (std::size_t keep = 0; keep < small.size(); ++keep) {
        cases.emplace_back("cut to " + std::to_string(keep), small.substr(0, keep));
    }
    // The height and width of the baseline frame marker.
    const std::size_t frame = small.find("\xFF\xC0");
    ASSERT_NE(frame, std::string::npos);
    cases.emplace_back("huge frame", std::string(small).replace(frame + 5, 4, "\xFD\xE8\xFD\xE8"));
    for (const auto& [name, data] : cases) {
        EXPECT_THROW(
            JpegImage::Decode({reinterpret_cast<const std::uint8_t*>(data.data()), data.size()}),
            JpegError)
            << name;
    }
}

} // namespace
} // namespace qvs
