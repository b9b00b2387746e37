#include "protocol/CStream.h"
#include "protocol/Unscrambler.h"
#include "support/WireBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <tuple>

namespace qvs {
namespace {

using test::Bytes;
using test::Content;
using test::StreamOf;
using test::Sz;

// Plain content with every byte value, zero runs included.
std::string Pattern(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>(i % 97 < 5 ? 0 : (i * 131 + i / 7) % 256);
    }
    return bytes;
}

TEST(CStreamString, ReadReturnsTextAndAdvance) {
    const std::tuple<std::string, std::size_t, std::string, int> cases[] = {
        {"", 0, "", 0},
        {"abc", 0, "abc", 3},
        {Sz("abc") + "d", 0, "abc", 4},
        {Bytes({0, 'x', 'y'}), 1, "xy", 2},
        {Bytes({'a', 0, 0xE9, 0x80, 0}), 2, "\xE9\x80", 3}};
    for (const auto& [content, start, expected, consumed] : cases) {
        CStream stream = StreamOf(content);
        stream.SetPosition(start);
        std::string value = "stale";
        EXPECT_EQ(stream.ReadString(value), consumed) << content;
        EXPECT_EQ(value, expected);
        EXPECT_EQ(stream.Position(), start + static_cast<std::size_t>(consumed)) << content;
    }
}

TEST(CStreamRead, MixedValuesReadBackAsWritten) {
    const std::int32_t numbers[] = {0x12345678, -123456789, INT32_MIN};
    CStream stream;
    stream.WriteByte(0xF3);
    for (const std::int32_t number : numbers) {
        EXPECT_EQ(stream.WriteInt(number), 4);
    }
    EXPECT_EQ(stream.WriteString("QVS"), 4);
    EXPECT_EQ(Content(stream), Bytes({0xF3, 0x78, 0x56, 0x34, 0x12, 0xEB, 0x32, 0xA4, 0xF8, 0, 0, 0,
                                      0x80, 'Q', 'V', 'S', 0}));
    stream.SetPosition(0);
    std::uint8_t tag = 0;
    stream.ReadByte(tag);
    EXPECT_EQ(tag, 0xF3);
    for (const std::int32_t number : numbers) {
        std::int32_t got = 0x5A5A5A5A;
        EXPECT_EQ(stream.ReadInt(got), 4);
        EXPECT_EQ(got, number);
    }
    std::string text;
    stream.ReadString(text);
    EXPECT_EQ(text, "QVS");
    EXPECT_EQ(stream.Remaining(), 0u);
}

TEST(CStreamRead, ShortReadsFailAndCopyNothing) {
    CStream stream = StreamOf(Bytes({1, 2, 3}));
    std::int32_t value = 0;
    try {
        stream.ReadInt(value);
        ADD_FAILURE() << "no error raised";
    } catch (const StreamReadError& error) {
        EXPECT_STREQ(error.what(), "Stream read error");
    }
    stream.SetPosition(1);
    std::uint8_t target[3] = {0xAA, 0xAA, 0xAA};
    EXPECT_THROW(stream.Read(target, 3), StreamReadError);
    EXPECT_EQ(target[0], 0xAA);
    stream.Read(target, 2);
    EXPECT_EQ(target[1], 0x03);
    EXPECT_THROW(stream.ReadByte(target[0]), StreamReadError);
}

#if defined(__has_feature)
#define QVS_CLANG_ADDRESS_SANITIZER __has_feature(address_sanitizer)
#else
#define QVS_CLANG_ADDRESS_SANITIZER 0
#endif

TEST(CStreamWrite, ImpossibleGrowthReportsOutOfMemoryAndKeepsContent) {
    CStream stream = StreamOf(Bytes({1}));
    stream.SetPosition(1);
    const std::uint8_t byte = 0;
    const auto expectOutOfMemory = [&stream](const auto& grow) {
        try {
            grow();
            ADD_FAILURE() << "no error raised";
        } catch (const std::runtime_error& error) {
            EXPECT_STREQ(error.what(), "Out of memory while expanding memory stream");
        }
        EXPECT_EQ(Content(stream), Bytes({1}));
    };
    expectOutOfMemory([&] { stream.Write(&byte, std::numeric_limits<std::size_t>::max()); });
    expectOutOfMemory([&] { stream.Reserve(std::numeric_limits<std::size_t>::max()); });
#if !defined(__SANITIZE_ADDRESS__) && !QVS_CLANG_ADDRESS_SANITIZER
    // The address sanitizer ends the program on the exabyte instead.
    expectOutOfMemory([&] { stream.Reserve(std::size_t{1} << 60); });
#endif
}

// The scrambled form built independently: blocks of key, length and the
// plain bytes XOR key, the last one cut short; keys with at least four bits
// set and lengths of 75 to 124, drawn one at a time from minstd_rand.
std::string Scrambled(const std::string& plain, std::minstd_rand& draws) {
    std::string scrambled;
    for (std::size_t at = 0; at < plain.size();) {
        std::uint8_t key = 0;
        do {
            key = static_cast<std::uint8_t>(draws() & 0xFF);
        } while (std::popcount(key) < 4);
        const std::size_t length = draws() % 50 + 75;
        scrambled += Bytes({key, static_cast<int>(length)});
        for (const char c : plain.substr(at, length)) {
            scrambled.push_back(static_cast<char>(c ^ key));
        }
        at += length;
    }
    return scrambled;
}

// Every size around the block lengths, with room for the scrambled form
// beforehand (Encode works in place, here in one stream whose generator goes
// on from encode to encode) and without (a new area, in a fresh stream);
// Decode undoes it.
TEST(CStreamScramble, BlocksFollowTheStreamsOwnGeneratorAndDecodeBack) {
    std::minstd_rand continued;
    CStream roomy;
    for (const std::size_t size : {0u, 1u, 74u, 75u, 76u, 124u, 125u, 200u, 4096u, 1u << 20}) {
        const std::string plain = Pattern(size);
        CStream exact = StreamOf(plain);
        exact.Encode();
        std::minstd_rand fresh;
        EXPECT_TRUE(Content(exact) == Scrambled(plain, fresh)) << size;
        roomy.Clear();
        roomy.Reserve(size * 2 + 100);
        roomy.Write(plain.data(), plain.size());
        roomy.SetPosition(size / 2);
        roomy.Encode();
        EXPECT_EQ(roomy.Position(), 0u);
        ASSERT_TRUE(Content(roomy) == Scrambled(plain, continued)) << size;
        roomy.SetPosition(roomy.Size());
        roomy.Decode();
        EXPECT_EQ(roomy.Position(), 0u);
        EXPECT_TRUE(Content(roomy) == plain) << size;
    }
}

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
        CStream stream = StreamOf(item.scrambled);
        stream.SetPosition(stream.Size());
        stream.Decode();
        EXPECT_EQ(Content(stream), item.plain) << item.name;
        EXPECT_EQ(stream.Position(), 0u);
        for (std::size_t piece = 1; piece <= std::max<std::size_t>(item.scrambled.size(), 1);
             ++piece) {
            EXPECT_EQ(FeedInPieces(item.scrambled, piece), item.plain)
                << item.name << ", pieces of " << piece;
        }
    }
}

} // namespace
} // namespace qvs
