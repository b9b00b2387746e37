#include "protocol/CStream.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace qvs {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Content(const CStream& stream) {
    return Bytes(stream.Data(), stream.Data() + stream.Size());
}

CStream StreamOf(const Bytes& bytes) {
    CStream stream;
    stream.Write(bytes.data(), bytes.size());
    stream.SetPosition(0);
    return stream;
}

// Plain content with every byte value, zero runs included.
Bytes Pattern(std::size_t size) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<std::uint8_t>((i * 131 + i / 7) % 256);
        if (i % 97 < 5) {
            bytes[i] = 0;
        }
    }
    return bytes;
}

struct Block {
    std::uint8_t key;
    std::uint8_t length;
    std::size_t dataBytes;
};

// Splits scrambled bytes into blocks; fails the test on a structure fault.
std::vector<Block> Blocks(const Bytes& scrambled) {
    std::vector<Block> blocks;
    std::size_t at = 0;
    while (at < scrambled.size()) {
        EXPECT_LE(at + 3, scrambled.size()) << "block without data at " << at;
        if (at + 3 > scrambled.size()) {
            break;
        }
        const Block block{scrambled[at], scrambled[at + 1],
                          std::min<std::size_t>(scrambled[at + 1], scrambled.size() - at - 2)};
        blocks.push_back(block);
        at += 2 + block.dataBytes;
    }
    return blocks;
}

struct IntCase {
    std::int32_t value;
    Bytes bytes;
};

class IntEncoding : public testing::TestWithParam<IntCase> {};

TEST_P(IntEncoding, WritesLittleEndianBytes) {
    CStream stream;
    EXPECT_EQ(stream.WriteInt(GetParam().value), 4);
    EXPECT_EQ(Content(stream), GetParam().bytes);
    EXPECT_EQ(stream.Position(), 4u);
}

TEST_P(IntEncoding, ReadsLittleEndianBytes) {
    CStream stream = StreamOf(GetParam().bytes);
    std::int32_t value = 0x5A5A5A5A;
    EXPECT_EQ(stream.ReadInt(value), 4);
    EXPECT_EQ(value, GetParam().value);
    EXPECT_EQ(stream.Position(), 4u);
}

INSTANTIATE_TEST_SUITE_P(
    Values, IntEncoding,
    testing::Values(IntCase{0, {0x00, 0x00, 0x00, 0x00}}, IntCase{1, {0x01, 0x00, 0x00, 0x00}},
                    IntCase{-1, {0xFF, 0xFF, 0xFF, 0xFF}},
                    IntCase{std::numeric_limits<std::int32_t>::min(), {0x00, 0x00, 0x00, 0x80}},
                    IntCase{std::numeric_limits<std::int32_t>::max(), {0xFF, 0xFF, 0xFF, 0x7F}},
                    IntCase{0x12345678, {0x78, 0x56, 0x34, 0x12}},
                    IntCase{-2, {0xFE, 0xFF, 0xFF, 0xFF}}, IntCase{255, {0xFF, 0x00, 0x00, 0x00}},
                    IntCase{256, {0x00, 0x01, 0x00, 0x00}}, IntCase{7070, {0x9E, 0x1B, 0x00, 0x00}},
                    IntCase{-123456789, {0xEB, 0x32, 0xA4, 0xF8}}));

class ByteEncoding : public testing::TestWithParam<std::uint8_t> {};

TEST_P(ByteEncoding, RoundTripsAsIs) {
    CStream stream;
    EXPECT_EQ(stream.WriteByte(GetParam()), 1);
    EXPECT_EQ(Content(stream), Bytes{GetParam()});
    stream.SetPosition(0);
    std::uint8_t value = static_cast<std::uint8_t>(~GetParam());
    EXPECT_EQ(stream.ReadByte(value), 1);
    EXPECT_EQ(value, GetParam());
    EXPECT_EQ(stream.Position(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Values, ByteEncoding,
                         testing::Values(std::uint8_t{0x00}, std::uint8_t{0x01}, std::uint8_t{0x7F},
                                         std::uint8_t{0x80}, std::uint8_t{0xFF}));

struct StringWriteCase {
    std::string value;
    Bytes bytes;
};

class StringWrite : public testing::TestWithParam<StringWriteCase> {};

TEST_P(StringWrite, WritesCharactersThenOneZero) {
    CStream stream;
    EXPECT_EQ(stream.WriteString(GetParam().value), static_cast<int>(GetParam().bytes.size()));
    EXPECT_EQ(Content(stream), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Values, StringWrite,
    testing::Values(StringWriteCase{"", {0x00}}, StringWriteCase{"a", {0x61, 0x00}},
                    StringWriteCase{"abc", {0x61, 0x62, 0x63, 0x00}},
                    StringWriteCase{"qvs.exe", {'q', 'v', 's', '.', 'e', 'x', 'e', 0x00}},
                    StringWriteCase{"\xE9\xFF", {0xE9, 0xFF, 0x00}}));

struct StringReadCase {
    const char* name;
    Bytes content;
    std::size_t start;
    std::string expected;
    int consumed;
};

class StringRead : public testing::TestWithParam<StringReadCase> {};

TEST_P(StringRead, ReturnsTextAndAdvance) {
    const auto& param = GetParam();
    CStream stream = StreamOf(param.content);
    stream.SetPosition(param.start);
    std::string value = "stale";
    EXPECT_EQ(stream.ReadString(value), param.consumed);
    EXPECT_EQ(value, param.expected);
    EXPECT_EQ(stream.Position(), param.start + static_cast<std::size_t>(param.consumed));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StringRead,
    testing::Values(StringReadCase{"LoneTerminator", {0x00}, 0, "", 1},
                    StringReadCase{"EmptyContent", {}, 0, "", 0},
                    StringReadCase{"AtEnd", {0x61, 0x00}, 2, "", 0},
                    StringReadCase{"Unterminated", {0x61, 0x62, 0x63}, 0, "abc", 3},
                    StringReadCase{"Terminated", {0x61, 0x62, 0x63, 0x00, 0x64}, 0, "abc", 4},
                    StringReadCase{"FromMiddle", {0x61, 0x62, 0x63, 0x00, 0x64, 0x00}, 4, "d", 2},
                    StringReadCase{"TwoTerminators", {0x00, 0x00}, 0, "", 1},
                    StringReadCase{"HighBytes", {0xE9, 0x80, 0x00}, 0, "\xE9\x80", 3},
                    StringReadCase{"UnterminatedFromMiddle", {0x00, 0x78, 0x79}, 1, "xy", 2}),
    [](const testing::TestParamInfo<StringReadCase>& info) { return info.param.name; });

TEST(CStreamString, ConsecutiveStringsReadBackInOrder) {
    CStream stream;
    stream.WriteString("first");
    stream.WriteString("");
    stream.WriteString("third");
    stream.SetPosition(0);
    std::string value;
    EXPECT_EQ(stream.ReadString(value), 6);
    EXPECT_EQ(value, "first");
    EXPECT_EQ(stream.ReadString(value), 1);
    EXPECT_EQ(value, "");
    EXPECT_EQ(stream.ReadString(value), 6);
    EXPECT_EQ(value, "third");
    EXPECT_EQ(stream.ReadString(value), 0);
    EXPECT_EQ(value, "");
}

TEST(CStreamRead, MixedValuesReadBackAsWritten) {
    CStream stream;
    stream.WriteByte(3);
    stream.WriteInt(-7);
    stream.WriteString("QVS");
    stream.WriteInt(0x01020304);
    EXPECT_EQ(Content(stream),
              (Bytes{0x03, 0xF9, 0xFF, 0xFF, 0xFF, 'Q', 'V', 'S', 0x00, 0x04, 0x03, 0x02, 0x01}));
    stream.SetPosition(0);
    std::uint8_t tag = 0;
    std::int32_t first = 0;
    std::int32_t second = 0;
    std::string text;
    stream.ReadByte(tag);
    stream.ReadInt(first);
    stream.ReadString(text);
    stream.ReadInt(second);
    EXPECT_EQ(tag, 3);
    EXPECT_EQ(first, -7);
    EXPECT_EQ(text, "QVS");
    EXPECT_EQ(second, 0x01020304);
    EXPECT_EQ(stream.Remaining(), 0u);
}

struct ShortReadCase {
    const char* name;
    std::size_t available;
    bool readInt;
};

class ShortRead : public testing::TestWithParam<ShortReadCase> {};

TEST_P(ShortRead, FailsWithStreamReadError) {
    CStream stream = StreamOf(Bytes(GetParam().available, 0x11));
    try {
        if (GetParam().readInt) {
            std::int32_t value = 0;
            stream.ReadInt(value);
        } else {
            std::uint8_t value = 0;
            stream.ReadByte(value);
        }
        FAIL() << "no error raised";
    } catch (const StreamReadError& error) {
        EXPECT_STREQ(error.what(), "Stream read error");
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ShortRead,
                         testing::Values(ShortReadCase{"IntFromNothing", 0, true},
                                         ShortReadCase{"IntFromOne", 1, true},
                                         ShortReadCase{"IntFromThree", 3, true},
                                         ShortReadCase{"ByteFromNothing", 0, false}),
                         [](const testing::TestParamInfo<ShortReadCase>& info) {
                             return info.param.name;
                         });

TEST(CStreamRead, ShortRawReadCopiesNothing) {
    CStream stream = StreamOf({0x01, 0x02, 0x03});
    stream.SetPosition(1);
    std::uint8_t target[4] = {0xAA, 0xAA, 0xAA, 0xAA};
    EXPECT_THROW(stream.Read(target, 3), StreamReadError);
    EXPECT_EQ(target[0], 0xAA);
    EXPECT_EQ(target[1], 0xAA);
    stream.Read(target, 2);
    EXPECT_EQ(target[0], 0x02);
    EXPECT_EQ(target[1], 0x03);
    EXPECT_EQ(stream.Remaining(), 0u);
}

TEST(CStreamRead, ReadIntAfterBytesUsesFollowingFour) {
    CStream stream = StreamOf({0x09, 0x10, 0x20, 0x30, 0x40, 0x50});
    std::uint8_t first = 0;
    std::int32_t value = 0;
    stream.ReadByte(first);
    stream.ReadInt(value);
    EXPECT_EQ(value, 0x40302010);
    EXPECT_THROW(stream.ReadInt(value), StreamReadError);
}

TEST(CStreamWrite, PlaceholderIsFilledInAfterPayload) {
    CStream stream;
    stream.WriteByte(2);
    const std::size_t placeholder = stream.Position();
    stream.WriteInt(0);
    const int payload = stream.WriteString("qvsc") + stream.WriteInt(42);
    const std::size_t end = stream.Position();
    stream.SetPosition(placeholder);
    stream.WriteInt(payload);
    EXPECT_EQ(stream.Position(), placeholder + 4);
    EXPECT_EQ(stream.Size(), end);
    EXPECT_EQ(Content(stream), (Bytes{0x02, 0x09, 0x00, 0x00, 0x00, 'q', 'v', 's', 'c', 0x00, 0x2A,
                                      0x00, 0x00, 0x00}));
}

TEST(CStreamWrite, WriteAcrossEndOverwritesThenExtends) {
    CStream stream = StreamOf({0x01, 0x02, 0x03});
    stream.SetPosition(2);
    stream.WriteInt(0x44332211);
    EXPECT_EQ(Content(stream), (Bytes{0x01, 0x02, 0x11, 0x22, 0x33, 0x44}));
    EXPECT_EQ(stream.Position(), 6u);
}

TEST(CStreamWrite, ManySmallWritesKeepEveryByte) {
    CStream stream;
    for (int i = 0; i < 100000; ++i) {
        stream.WriteInt(i);
    }
    ASSERT_EQ(stream.Size(), 400000u);
    stream.SetPosition(0);
    for (int i = 0; i < 100000; ++i) {
        std::int32_t value = -1;
        stream.ReadInt(value);
        ASSERT_EQ(value, i);
    }
}

TEST(CStreamWrite, OwnContentCanBeWrittenAgain) {
    CStream stream = StreamOf({'a', 'b', 'c', 'd'});
    stream.SetPosition(4);
    stream.Write(stream.Data(), stream.Size());
    stream.Write(stream.Data() + 1, 2);
    EXPECT_EQ(stream.View(), "abcdabcdbc");
}

TEST(CStreamWrite, ImpossibleGrowthReportsOutOfMemory) {
    CStream stream = StreamOf({0x01});
    stream.SetPosition(1);
    const std::uint8_t byte = 0;
    const std::size_t counts[] = {std::numeric_limits<std::size_t>::max(),
                                  std::numeric_limits<std::size_t>::max() / 2 + 1};
    for (const std::size_t count : counts) {
        try {
            stream.Write(&byte, count);
            FAIL() << "no error raised for " << count;
        } catch (const std::runtime_error& error) {
            EXPECT_STREQ(error.what(), "Out of memory while expanding memory stream");
        }
        EXPECT_EQ(Content(stream), Bytes{0x01});
    }
}

TEST(CStreamWrite, ReservingMoreThanAddressableReportsOutOfMemory) {
    CStream stream = StreamOf({0x01, 0x02});
    try {
        stream.Reserve(std::numeric_limits<std::size_t>::max());
        FAIL() << "no error raised";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "Out of memory while expanding memory stream");
    }
    EXPECT_EQ(Content(stream), (Bytes{0x01, 0x02}));
}

TEST(CStreamWrite, FailedAllocationReportsOutOfMemory) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP()
        << "the address sanitizer aborts on impossible allocations instead of failing them";
#else
    // An exabyte: beyond any address space, so the allocation itself fails.
    CStream stream = StreamOf({0x01});
    try {
        stream.Reserve(std::size_t{1} << 60);
        FAIL() << "no error raised";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "Out of memory while expanding memory stream");
    }
    EXPECT_EQ(Content(stream), Bytes{0x01});
#endif
}

TEST(CStreamPosition, SetPositionClampsToSize) {
    CStream stream = StreamOf({0x01, 0x02, 0x03});
    stream.SetPosition(10);
    EXPECT_EQ(stream.Position(), 3u);
    EXPECT_EQ(stream.Remaining(), 0u);
    stream.WriteByte(0x04);
    EXPECT_EQ(Content(stream), (Bytes{0x01, 0x02, 0x03, 0x04}));
}

TEST(CStreamPosition, ClearEmptiesContentAndPosition) {
    CStream stream = StreamOf({0x01, 0x02, 0x03});
    stream.SetPosition(2);
    stream.Clear();
    EXPECT_EQ(stream.Size(), 0u);
    EXPECT_EQ(stream.Position(), 0u);
    stream.WriteByte(0x09);
    EXPECT_EQ(Content(stream), Bytes{0x09});
}

TEST(CStreamCopy, CountZeroCopiesWholeSourceFromStart) {
    CStream source = StreamOf({0x01, 0x02, 0x03, 0x04});
    source.SetPosition(3);
    CStream target = StreamOf({0xAA, 0xBB});
    target.SetPosition(1);
    target.CopyFrom(source, 0);
    EXPECT_EQ(Content(target), (Bytes{0xAA, 0x01, 0x02, 0x03, 0x04}));
    EXPECT_EQ(target.Position(), 5u);
    EXPECT_EQ(source.Position(), 4u);
}

TEST(CStreamCopy, CountCopiesFromSourcePosition) {
    CStream source = StreamOf({0x01, 0x02, 0x03, 0x04, 0x05});
    source.SetPosition(1);
    CStream target;
    target.CopyFrom(source, 3);
    EXPECT_EQ(Content(target), (Bytes{0x02, 0x03, 0x04}));
    EXPECT_EQ(source.Position(), 4u);
}

TEST(CStreamCopy, CountBeyondSourceFailsAndCopiesNothing) {
    CStream source = StreamOf({0x01, 0x02, 0x03});
    source.SetPosition(1);
    CStream target;
    EXPECT_THROW(target.CopyFrom(source, 3), StreamReadError);
    EXPECT_EQ(target.Size(), 0u);
}

TEST(CStreamCopy, CopyFromItselfAppendsOwnContent) {
    CStream stream = StreamOf({0x01, 0x02, 0x03});
    stream.CopyFrom(stream, 0);
    EXPECT_EQ(Content(stream), (Bytes{0x01, 0x02, 0x03, 0x01, 0x02, 0x03}));
}

TEST(CStreamCopy, CopyFromEmptySourceChangesNothing) {
    CStream source;
    CStream target = StreamOf({0x07});
    target.CopyFrom(source, 0);
    EXPECT_EQ(Content(target), Bytes{0x07});
}

TEST(CStreamScramble, EmptyContentStaysEmpty) {
    CStream stream;
    stream.Encode();
    EXPECT_EQ(stream.Size(), 0u);
    stream.Decode();
    EXPECT_EQ(stream.Size(), 0u);
    EXPECT_EQ(stream.Position(), 0u);
}

TEST(CStreamScramble, HandmadeShortBlockDecodes) {
    CStream stream = StreamOf({0x0F, 0x4B, 0x6E, 0x6D, 0x6C});
    stream.SetPosition(5);
    stream.Decode();
    EXPECT_EQ(stream.View(), "abc");
    EXPECT_EQ(stream.Position(), 0u);
}

struct DecodeCase {
    const char* name;
    Bytes scrambled;
    Bytes plain;
};

class DecodeInput : public testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeInput, YieldsPlainBytes) {
    CStream stream = StreamOf(GetParam().scrambled);
    stream.Decode();
    EXPECT_EQ(Content(stream), GetParam().plain);
    EXPECT_EQ(stream.Position(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DecodeInput,
    testing::Values(
        DecodeCase{"LoneKeyByte", {0x0F}, {}}, DecodeCase{"HeaderOnly", {0x0F, 0x4B}, {}},
        DecodeCase{"LoneKeyAfterBlock", {0xF0, 0x02, 0x91, 0x92, 0x33}, {0x61, 0x62}},
        DecodeCase{"TwoBlocks", {0xF0, 0x01, 0xF0, 0x55, 0x4B, 0x55, 0x00}, {0x00, 0x00, 0x55}},
        DecodeCase{"ZeroLengthBlock", {0x0F, 0x00, 0x0F, 0x01, 0x6E}, {0x61}},
        DecodeCase{"TruncatedLastBlock", {0xFF, 0x7C, 0x00, 0xFF, 0x9E}, {0xFF, 0x00, 0x61}}),
    [](const testing::TestParamInfo<DecodeCase>& info) { return info.param.name; });

// Size of the content, and whether the stream has room for the scrambled form
// beforehand (Encode then works in place) or not (Encode needs a new area).
class ScrambleRoundTrip : public testing::TestWithParam<std::tuple<std::size_t, bool>> {};

TEST_P(ScrambleRoundTrip, BlockStructureAndRoundTrip) {
    const auto [size, roomy] = GetParam();
    const Bytes plain = Pattern(size);
    CStream stream;
    if (roomy) {
        stream.Reserve(size * 2 + 100);
    }
    stream.Write(plain.data(), plain.size());
    stream.SetPosition(plain.size() / 2);
    stream.Encode();
    EXPECT_EQ(stream.Position(), 0u);
    const Bytes scrambled = Content(stream);

    const std::vector<Block> blocks = Blocks(scrambled);
    EXPECT_EQ(scrambled.size(), plain.size() + 2 * blocks.size());
    std::size_t offset = 0;
    std::size_t plainAt = 0;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const Block& block = blocks[i];
        ASSERT_GE(std::popcount(block.key), 4) << "block " << i;
        ASSERT_GE(block.length, 75) << "block " << i;
        ASSERT_LE(block.length, 124) << "block " << i;
        if (i + 1 < blocks.size()) {
            ASSERT_EQ(block.dataBytes, block.length) << "block " << i;
        } else {
            ASSERT_GE(block.dataBytes, 1u);
            ASSERT_LE(block.dataBytes, block.length);
        }
        for (std::size_t j = 0; j < block.dataBytes; ++j) {
            ASSERT_EQ(scrambled[offset + 2 + j] ^ block.key, plain[plainAt + j])
                << "block " << i << " byte " << j;
        }
        offset += 2 + block.dataBytes;
        plainAt += block.dataBytes;
    }

    stream.SetPosition(stream.Size());
    stream.Decode();
    EXPECT_EQ(stream.Position(), 0u);
    EXPECT_TRUE(Content(stream) == plain);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ScrambleRoundTrip,
                         testing::Combine(testing::Values(0, 1, 74, 75, 76, 124, 125, 200, 4096,
                                                          1 << 20),
                                          testing::Bool()));

TEST(CStreamScramble, InPlaceAndNewAreaGiveTheSameBytes) {
    for (const std::size_t size : {1u, 75u, 76u, 249u, 250u, 100000u}) {
        const Bytes plain = Pattern(size);
        CStream exact = StreamOf(plain);
        CStream roomy;
        roomy.Reserve(size * 2);
        roomy.Write(plain.data(), plain.size());
        exact.Encode();
        roomy.Encode();
        EXPECT_EQ(Content(exact), Content(roomy)) << size;
    }
}

TEST(CStreamScramble, SeventyFiveBytesMakeOneBlock) {
    CStream stream;
    for (int run = 0; run < 50; ++run) {
        stream.Clear();
        const Bytes plain(75, 0x42);
        stream.Write(plain.data(), plain.size());
        stream.Encode();
        ASSERT_EQ(stream.Size(), 77u) << "run " << run;
    }
}

TEST(CStreamScramble, TwoHundredBytesMakeTwoOrThreeBlocks) {
    CStream stream;
    bool seen[2] = {false, false};
    for (int run = 0; run < 200; ++run) {
        stream.Clear();
        const Bytes plain = Pattern(200);
        stream.Write(plain.data(), plain.size());
        stream.Encode();
        ASSERT_TRUE(stream.Size() == 204u || stream.Size() == 206u) << stream.Size();
        seen[stream.Size() == 206u] = true;
    }
    EXPECT_TRUE(seen[0] && seen[1]);
}

TEST(CStreamScramble, KeysAndLengthsCoverTheirRanges) {
    CStream stream;
    const Bytes plain(1 << 20, 0x00);
    stream.Write(plain.data(), plain.size());
    stream.Encode();
    bool keys[256] = {};
    bool lengths[256] = {};
    for (const Block& block : Blocks(Content(stream))) {
        keys[block.key] = true;
        lengths[block.length] = true;
    }
    for (int value = 0; value < 256; ++value) {
        EXPECT_EQ(keys[value], std::popcount(static_cast<unsigned>(value)) >= 4) << value;
        EXPECT_EQ(lengths[value], value >= 75 && value <= 124) << value;
    }
}

TEST(CStreamScramble, ContentOfKeyBytesRoundTrips) {
    // Zero plain bytes show the key itself; bytes equal to the key scramble to zero.
    CStream probe;
    probe.WriteByte(0);
    probe.Encode();
    const std::uint8_t firstKey = probe.Data()[0];

    CStream stream;
    const Bytes plain(300, firstKey);
    stream.Write(plain.data(), plain.size());
    stream.Encode();
    EXPECT_EQ(stream.Data()[0], firstKey);
    EXPECT_EQ(stream.Data()[2], 0x00);
    stream.Decode();
    EXPECT_EQ(Content(stream), plain);
}

TEST(CStreamScramble, FreshStreamEncodesWithTheFirstDraws) {
    // Key 0x8F and length 119 are the first two draws of the unseeded generator.
    CStream stream;
    stream.WriteString("abc");
    stream.Encode();
    EXPECT_EQ(Content(stream), (Bytes{0x8F, 0x77, 0xEE, 0xED, 0xEC, 0x8F}));
}

TEST(CStreamScramble, SuccessiveEncodesFollowTheGeneratorOneDrawAtATime) {
    std::minstd_rand reference;
    CStream stream;
    for (const std::size_t size : {1u, 300u, 75u, 100000u, 124u, 5000u}) {
        stream.Clear();
        const Bytes plain = Pattern(size);
        stream.Write(plain.data(), plain.size());
        stream.Encode();
        for (const Block& block : Blocks(Content(stream))) {
            std::uint8_t key = 0;
            do {
                key = static_cast<std::uint8_t>(reference() & 0xFF);
            } while (std::popcount(key) < 4);
            ASSERT_EQ(block.key, key) << size;
            ASSERT_EQ(block.length, reference() % 50 + 75) << size;
        }
    }
}

TEST(CStreamScramble, FreshStreamsDrawTheSameBlocks) {
    const Bytes plain = Pattern(5000);
    CStream first = StreamOf(plain);
    CStream second = StreamOf(plain);
    first.Encode();
    second.Encode();
    EXPECT_EQ(Content(first), Content(second));
    // A second encoding continues the sequence, so it differs from the first.
    CStream again = StreamOf(plain);
    again.Encode();
    again.Decode();
    again.Encode();
    EXPECT_NE(Content(again), Content(first));
}

TEST(CStreamScramble, DoubleEncodeDecodesInTwoSteps) {
    const Bytes plain = Pattern(1000);
    CStream stream = StreamOf(plain);
    stream.Encode();
    stream.Encode();
    stream.Decode();
    stream.Decode();
    EXPECT_EQ(Content(stream), plain);
}

} // namespace
} // namespace qvs
