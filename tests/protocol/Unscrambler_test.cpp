#include "protocol/CStream.h"
#include "protocol/Unscrambler.h"
#include "support/Scramble.h"
#include "support/WireBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

namespace qvs {
namespace {

using test::Bytes;

// Feeds scrambled in pieces of pieceSize (the last one shorter), each piece
// unscrambled in place as a reader refilling one window does, and joins the
// plain bytes of every piece.
std::string FeedInPieces(std::string scrambled, std::size_t pieceSize) {
    Unscrambler unscrambler;
    std::string plain;
    for (std::size_t at = 0; at < scrambled.size(); at += pieceSize) {
        auto* piece = reinterpret_cast<std::uint8_t*>(scrambled.data() + at);
        const std::size_t got =
            unscrambler.Feed(piece, std::min(pieceSize, scrambled.size() - at), piece);
        plain.append(scrambled, at, got);
    }
    return plain;
}

// Handmade blocks, decoded whole by CStream and cut at every possible place
// for the unscrambler: between a key byte and its length byte, right after a
// header, inside a block.
TEST(Unscrambler, HandmadeBlocksGiveThePlainBytesWholeAndAtEveryCut) {
    const struct {
        const char* name;
        std::string scrambled;
        std::string plain;
    } cases[] = {
        {"empty", "", ""},
        {"lone key byte", Bytes({0x0F}), ""},
        {"header only", Bytes({0x0F, 0x4B}), ""},
        {"short block", Bytes({0x0F, 0x4B, 0x6E, 0x6D, 0x6C}), "abc"},
        {"lone key after a block", Bytes({0xF0, 0x02, 0x91, 0x92, 0x33}), "ab"},
        {"two blocks", Bytes({0xF0, 0x01, 0xF0, 0x55, 0x4B, 0x55, 0x00}), Bytes({0, 0, 0x55})},
        {"zero-length block", Bytes({0x0F, 0x00, 0x0F, 0x01, 0x6E}), "a"},
        {"last block cut short", Bytes({0xFF, 0x7C, 0x00, 0xFF, 0x9E}), Bytes({0xFF, 0, 0x61})},
    };
    for (const auto& item : cases) {
        CStream stream = test::StreamOf(item.scrambled);
        stream.SetPosition(stream.Size());
        stream.Decode();
        EXPECT_EQ(test::Content(stream), item.plain) << item.name;
        EXPECT_EQ(stream.Position(), 0u);
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
    std::string original(5000, '\0');
    for (std::size_t i = 0; i < original.size(); ++i) {
        original[i] = static_cast<char>(i % 3 == 0 ? 0 : i * 31);
    }
    const std::string scrambled = test::Scramble(original);
    for (std::size_t piece : {1, 2, 3, 74, 75, 76, 100, 124, 125, 126, 1000, 10000}) {
        EXPECT_EQ(FeedInPieces(scrambled, piece), original) << "pieces of " << piece;
    }
}

} // namespace
} // namespace qvs
