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

// A picture is never handed back half-decoded: every cut of a small picture,
// a frame that claims 65000 x 65000 pixels (12 GB), damaged entropy data and
// foreign data are all refused.
TEST(JpegImage, DamagedTruncatedAndForeignDataAreRefused) {
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
    // Markers that cannot appear inside the compressed picture.
    cases.emplace_back("corrupt entropy data",
                       std::string(small).replace(small.size() - 60, 16,
                                                  "\xFF\xD0\xFF\xD1\xFF\xD2\xFF\xD3"
                                                  "\xFF\xD4\xFF\xD5\xFF\xD6\xFF\xD7"));
    cases.emplace_back("gif", std::string("GIF89a\x01\x00\x01\x00\x00\x00\x00;", 14));
    for (const auto& [name, data] : cases) {
        EXPECT_THROW(
            JpegImage::Decode({reinterpret_cast<const std::uint8_t*>(data.data()), data.size()}),
            JpegError)
            << name;
    }
}

} // namespace
} // namespace qvs
