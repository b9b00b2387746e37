#include "launcher/gui/JpegError.h"
#include "launcher/gui/JpegImage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

namespace qvs {
namespace {

std::vector<std::uint8_t> ReadResource(const std::string& name) {
    std::ifstream in(std::string(QVS_RESOURCES_DIR) + "/" + name, std::ios::binary);
    EXPECT_TRUE(in) << name;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Picture {
    const char* file;
    int left;
    int top;
    int width;
    int height;
};

void PrintTo(const Picture& picture, std::ostream* out) {
    *out << picture.file;
}

// Every picture of the windows, with the place and size of its control.
const Picture kPictures[] = {
    {"imgBackground.jpg", 0, 0, 600, 450},          {"img_moLiveChat.jpg", 10, 22, 221, 32},
    {"img_moAccountSignup.jpg", 10, 54, 187, 32},   {"img_moRegisterAccount.jpg", 10, 86, 152, 32},
    {"img_moViewWebsite.jpg", 10, 118, 127, 32},    {"img_moGameForum.jpg", 10, 150, 105, 32},
    {"img_moProblems.jpg", 10, 182, 89, 32},        {"img_moClans.jpg", 10, 214, 75, 29},
    {"img_moPlayGame.jpg", 63, 403, 185, 47},       {"img_moExit.jpg", 501, 412, 94, 32},
    {"imgStatus.jpg", 160, 146, 410, 135},          {"imgDownloadBarBg.jpg", 215, 256, 300, 22},
    {"imgDownloadBar.jpg", 215, 256, 15, 22},       {"imgSendErrorReportOff.jpg", 24, 248, 160, 22},
    {"imgSendErrorReportOn.jpg", 24, 248, 160, 22}, {"imgCancelOff.jpg", 312, 248, 66, 24},
    {"imgCancelOn.jpg", 312, 248, 66, 24},
};

class CommittedPicture : public testing::TestWithParam<Picture> {};

TEST_P(CommittedPicture, DecodesToTheSizeOfItsControl) {
    const Picture& picture = GetParam();
    const JpegImage image = JpegImage::Decode(ReadResource(picture.file));
    EXPECT_EQ(image.width, picture.width);
    EXPECT_EQ(image.height, picture.height);
    ASSERT_EQ(image.rgb.size(), static_cast<std::size_t>(picture.width * picture.height * 3));
}

INSTANTIATE_TEST_SUITE_P(Resources, CommittedPicture, testing::ValuesIn(kPictures),
                         [](const testing::TestParamInfo<Picture>& info) {
                             std::string name = info.param.file;
                             name.resize(name.find('.'));
                             std::erase(name, '_');
                             return name;
                         });

// Mean absolute difference of all channels between the outermost ring of a
// highlight picture and the background under it, the picture placed at
// (left, top).
double EdgeDifference(const JpegImage& highlight, const JpegImage& background, int left, int top) {
    long total = 0;
    long count = 0;
    const int w = highlight.width;
    const int h = highlight.height;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; x += (y == 0 || y == h - 1) ? 1 : w - 1) {
            const std::uint8_t* a = highlight.Pixel(x, y);
            const std::uint8_t* b = background.Pixel(left + x, top + y);
            for (int c = 0; c < 3; ++c) {
                total += std::abs(int{a[c]} - int{b[c]});
            }
            count += 3;
        }
    }
    return static_cast<double>(total) / static_cast<double>(count);
}

// The same over the middle of the picture, where its label lies.
double InsideDifference(const JpegImage& highlight, const JpegImage& background, int left,
                        int top) {
    long total = 0;
    long count = 0;
    for (int y = highlight.height / 4; y < highlight.height * 3 / 4; ++y) {
        for (int x = highlight.width / 8; x < highlight.width * 7 / 8; ++x) {
            const std::uint8_t* a = highlight.Pixel(x, y);
            const std::uint8_t* b = background.Pixel(left + x, top + y);
            for (int c = 0; c < 3; ++c) {
                total += std::abs(int{a[c]} - int{b[c]});
            }
            count += 3;
        }
    }
    return static_cast<double>(total) / static_cast<double>(count);
}

class HighlightPicture : public testing::TestWithParam<Picture> {};

// Shown at its place, a highlight must continue the background seamlessly
// at its edges, better there than at any place up to two pixels off (a
// shifted cut shows as a jump in the stone), and look clearly different
// inside, where its label is lit.
TEST_P(HighlightPicture, LinesUpWithTheBackgroundAndIsLitInside) {
    const Picture& place = GetParam();
    const JpegImage background = JpegImage::Decode(ReadResource("imgBackground.jpg"));
    const JpegImage highlight = JpegImage::Decode(ReadResource(place.file));
    ASSERT_EQ(highlight.width, place.width);
    ASSERT_EQ(highlight.height, place.height);

    const double atPlace = EdgeDifference(highlight, background, place.left, place.top);
    EXPECT_LT(atPlace, 5.0) << "edge of " << place.file << " does not match the background";
    for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -2; dx <= 2; ++dx) {
            const int left = place.left + dx;
            const int top = place.top + dy;
            if ((dx == 0 && dy == 0) || left < 0 || top < 0 ||
                left + place.width > background.width || top + place.height > background.height) {
                continue;
            }
            EXPECT_LT(atPlace, EdgeDifference(highlight, background, left, top))
                << place.file << " fits better " << dx << "," << dy << " off its place";
        }
    }
    EXPECT_GT(InsideDifference(highlight, background, place.left, place.top), 20.0)
        << place.file << " is not visibly lit";
}

INSTANTIATE_TEST_SUITE_P(Resources, HighlightPicture,
                         testing::ValuesIn(kPictures + 1, kPictures + 10),
                         [](const testing::TestParamInfo<Picture>& info) {
                             std::string name = info.param.file;
                             name.resize(name.find('.'));
                             std::erase(name, '_');
                             return name;
                         });

TEST(JpegImage, BackgroundPixelsAreTheCommittedColours) {
    // Decoding must give RGB in row order, top row first: the top of the menu
    // slab is bronze rim (red well above blue), the night sky right of it is
    // blue.
    const JpegImage background = JpegImage::Decode(ReadResource("imgBackground.jpg"));
    const std::uint8_t* sky = background.Pixel(260, 100);
    EXPECT_GT(sky[2], sky[0]);
    const std::uint8_t* rim = background.Pixel(120, 13);
    EXPECT_GT(rim[0], rim[2] + 30);
}

std::vector<std::uint8_t> Truncated(std::vector<std::uint8_t> data, std::size_t keep) {
    data.resize(keep);
    return data;
}

TEST(JpegImage, TruncatedFilesAreRefused) {
    const std::vector<std::uint8_t> whole = ReadResource("imgBackground.jpg");
    ASSERT_GT(whole.size(), 1000u);
    const std::size_t cuts[] = {
        1, 2, 20, 200, whole.size() / 4, whole.size() / 2, whole.size() * 9 / 10, whole.size() - 2};
    for (std::size_t keep : cuts) {
        EXPECT_THROW(JpegImage::Decode(Truncated(whole, keep)), JpegError) << "kept " << keep;
    }
}

TEST(JpegImage, EmptyAndForeignDataAreRefused) {
    EXPECT_THROW(JpegImage::Decode({}), JpegError);
    const std::string gif = "GIF89a\x01\x00\x01\x00\x00\x00\x00;";
    EXPECT_THROW(JpegImage::Decode(std::vector<std::uint8_t>(gif.begin(), gif.end())), JpegError);
    const std::vector<std::uint8_t> zeros(4096, 0);
    EXPECT_THROW(JpegImage::Decode(zeros), JpegError);
}

// Offset of the first start-of-frame marker's height field.
std::size_t FrameSizeOffset(const std::vector<std::uint8_t>& data) {
    for (std::size_t i = 2; i + 9 < data.size(); ++i) {
        if (data[i] == 0xFF && (data[i + 1] == 0xC0 || data[i + 1] == 0xC2)) {
            return i + 5;
        }
    }
    return 0;
}

TEST(JpegImage, HugeDeclaredSizeIsRefusedBeforeDecoding) {
    // A 65000 x 65000 frame header on a small file would ask for 12 GB.
    std::vector<std::uint8_t> data = ReadResource("imgDownloadBar.jpg");
    const std::size_t at = FrameSizeOffset(data);
    ASSERT_NE(at, 0u);
    data[at] = 0xFD;
    data[at + 1] = 0xE8;
    data[at + 2] = 0xFD;
    data[at + 3] = 0xE8;
    EXPECT_THROW(JpegImage::Decode(data), JpegError);
}

TEST(JpegImage, ZeroDeclaredSizeIsRefused) {
    std::vector<std::uint8_t> data = ReadResource("imgDownloadBar.jpg");
    const std::size_t at = FrameSizeOffset(data);
    ASSERT_NE(at, 0u);
    data[at + 2] = 0;
    data[at + 3] = 0;
    EXPECT_THROW(JpegImage::Decode(data), JpegError);
}

TEST(JpegImage, CorruptEntropyDataIsRefused) {
    // Overwrite part of the compressed picture with a marker that cannot
    // appear there; the decoder must not hand back a damaged picture.
    std::vector<std::uint8_t> data = ReadResource("imgBackground.jpg");
    const std::size_t middle = data.size() / 2;
    for (std::size_t i = 0; i < 64; i += 2) {
        data[middle + i] = 0xFF;
        data[middle + i + 1] = 0xD0 + static_cast<std::uint8_t>((i / 2) % 8);
    }
    EXPECT_THROW(JpegImage::Decode(data), JpegError);
}

} // namespace
} // namespace qvs
