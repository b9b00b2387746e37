// The digest taken while a file arrives, offered or appended, must equal the
// digest of its content taken at once, however the file is cut into pieces
// and whatever follows the content; a transfer that starts over (the first
// reply was not the file) gives the digest of the file it ended with.
#include "workers/ArrivingDigest.h"

#include <gtest/gtest.h>

#include <string>

namespace qvs {
namespace {

TEST(ArrivingDigest, EqualsTheDigestOfTheContentForEveryCut) {
    const struct {
        std::size_t content, trailer, piece;
    } cases[] = {{0, 0, 1},      {511, 1, 1},        {600, 100, 3},
                 {3000, 512, 1}, {70000, 200, 1000}, {(2 << 20) + 7, 300, 1 << 20}};
    for (const auto& c : cases) {
        std::string file(c.content + c.trailer, '\0');
        for (std::size_t i = 0; i < file.size(); ++i) {
            file[i] = static_cast<char>(i * 131 + i / 256);
        }
        ArrivingDigest offered;
        ArrivingDigest appended;
        offered.Offer(std::string(c.content + c.trailer + 5000, 'r'));
        for (std::size_t received = 0; received < file.size();) {
            const std::size_t piece = std::min(file.size() - received, c.piece);
            offered.Offer(std::string_view(file).substr(0, received + piece));
            appended.Append(std::string_view(file).substr(received, piece));
            received += piece;
        }
        CStream kept;
        appended.CopyTo(kept);
        EXPECT_TRUE(kept.View() == file);
        Sha256 atOnce;
        atOnce.Add(std::string_view(file).substr(0, c.content));
        const std::string expected = atOnce.HexDigest();
        EXPECT_EQ(offered.Finish(file, c.content), expected)
            << c.content << " + " << c.trailer << " in pieces of " << c.piece;
        EXPECT_EQ(appended.Finish(kept.View(), c.content), expected)
            << c.content << " + " << c.trailer << " appended in pieces of " << c.piece;
    }
}

} // namespace
} // namespace qvs
