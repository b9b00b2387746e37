#include "protocol/CStream.h"
#include "protocol/Unscrambler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace qvs {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Feeds scrambled in pieces of pieceSize (the last one shorter) and joins
// the plain bytes of every piece.
Bytes FeedInPieces(const Bytes& scrambled, std::size_t pieceSize) {
    Unscrambler unscrambler;
    Bytes plain;
    for (std::size_t at = 0; at < scrambled.size(); at += pieceSize) {
        const std::size_t count = std::min(pieceSize, scrambled.size() - at);
        Bytes out(count);
        out.resize(unscrambler.Feed(scrambled.data() + at, count, out.data()));
        plain.insert(plain.end(), out.begin(), out.end());
    }
    return plain;
}

struct PiecewiseCase {
    const char* name;
    Bytes scrambled;
    Bytes plain;
};

// Handmade blocks, each cut at every possible place: between a key byte and
// its length byte, right after a header, inside a block.
TEST(Unscrambler, EveryCutGivesThePlainBytesOfTheWhole) {
    const PiecewiseCase cases[] = {
        {"empty", {}, {}},
        {"lone key byte", {0x0F}, {}},
        {"header only", {0x0F, 0x4B}, {}},
        {"lone key after a block", {0xF0, 0x02, 0x91, 0x92, 0x33}, {0x61, 0x62}},
        {"two blocks", {0xF0, 0x01, 0xF0, 0x55, 0x4B, 0x55, 0x00}, {0x00, 0x00, 0x55}},
        {"zero-length block", {0x0F, 0x00, 0x0F, 0x01, 0x6E}, {0x61}},
        {"last block cut short", {0xFF, 0x7C, 0x00, 0xFF, 0x9E}, {0xFF, 0x00, 0x61}},
    };
    for (const PiecewiseCase& item : cases) {
        for (std::size_t piece = 1; piece <= std::max<std::size_t>(item.scrambled.size(), 1);
             ++piece) {
            EXPECT_EQ(FeedInPieces(item.scrambled, piece), item.plain)
                << item.name << ", pieces of " << piece;
        }
    }
}

// Real scrambled content, with zero bytes and bytes equal to keys, fed in
// pieces that fall everywhere relative to blocks of 75 to 124 bytes.
TEST(Unscrambler, PiecesOfAnyLengthUndoEncode) {
    Bytes original(5000);
    for (std::size_t i = 0; i < original.size(); ++i) {
        original[i] = i % 3 == 0 ? 0 : static_cast<std::uint8_t>(i * 31);
    }
    CStream stream;
    stream.Write(original.data(), original.size());
    stream.Encode();
    const Bytes scrambled(stream.Data(), stream.Data() + stream.Size());
    for (std::size_t piece : {1, 2, 3, 74, 75, 76, 124, 125, 126, 1000, 4096, 10000}) {
        EXPECT_EQ(FeedInPieces(scrambled, piece), original) << "pieces of " << piece;
    }
}

// In place, as a reader refilling one window does: output over the input.
TEST(Unscrambler, UnscramblesInPlace) {
    Bytes original(777);
    for (std::size_t i = 0; i < original.size(); ++i) {
        original[i] = static_cast<std::uint8_t>(i);
    }
    CStream stream;
    stream.Write(original.data(), original.size());
    stream.Encode();
    Bytes window(stream.Data(), stream.Data() + stream.Size());
    Unscrambler unscrambler;
    Bytes plain;
    for (std::size_t at = 0; at < window.size(); at += 100) {
        const std::size_t count = std::min<std::size_t>(100, window.size() - at);
        const std::size_t got = unscrambler.Feed(window.data() + at, count, window.data() + at);
        plain.insert(plain.end(), window.begin() + static_cast<std::ptrdiff_t>(at),
                     window.begin() + static_cast<std::ptrdiff_t>(at + got));
    }
    EXPECT_EQ(plain, original);
}

} // namespace
} // namespace qvs
