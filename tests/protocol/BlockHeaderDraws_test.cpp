#include "protocol/BlockHeaderDraws.h"

#include <gtest/gtest.h>

#include <bit>
#include <random>
#include <vector>

namespace qvs {
namespace {

// One generator call per value: a key is redrawn until 4 of its low 8 bits
// are set, then one more call gives the length.
BlockHeaderDraws::Header ReferenceHeader(std::minstd_rand& engine) {
    std::uint8_t key = 0;
    do {
        key = static_cast<std::uint8_t>(engine() & 0xFF);
    } while (std::popcount(key) < 4);
    const auto length = static_cast<std::uint8_t>(engine() % 50 + 75);
    return {key, length};
}

struct DrawCase {
    std::size_t batch;
    std::size_t headers;
    int drawnBefore; // calls made on the engine before the headers
};

class BlockHeaderDrawsMatch : public testing::TestWithParam<DrawCase> {};

TEST_P(BlockHeaderDrawsMatch, SameHeadersAndFollowingDrawsAsOneByOne) {
    const DrawCase& param = GetParam();
    std::minstd_rand engine;
    std::minstd_rand reference;
    for (int i = 0; i < param.drawnBefore; ++i) {
        engine();
        reference();
    }
    {
        BlockHeaderDraws draws(engine, param.batch);
        for (std::size_t i = 0; i < param.headers; ++i) {
            const BlockHeaderDraws::Header expected = ReferenceHeader(reference);
            const BlockHeaderDraws::Header actual = draws.Next();
            ASSERT_EQ(actual.key, expected.key) << "header " << i;
            ASSERT_EQ(actual.length, expected.length) << "header " << i;
        }
    }
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(engine(), reference()) << "draw " << i << " after the headers";
    }
}

INSTANTIATE_TEST_SUITE_P(Batches, BlockHeaderDrawsMatch,
                         testing::Values(DrawCase{2, 5000, 0}, DrawCase{3, 5000, 0},
                                         DrawCase{4, 5000, 1}, DrawCase{5, 5000, 0},
                                         DrawCase{7, 5000, 3}, DrawCase{64, 20000, 0},
                                         DrawCase{65, 20000, 2}, DrawCase{1024, 200000, 0},
                                         DrawCase{1024, 1, 0}, DrawCase{1024, 1, 17},
                                         DrawCase{1024, 1023, 0}));

TEST(BlockHeaderDraws, UnusedDrawsLeaveTheEngineAlone) {
    std::minstd_rand engine;
    { BlockHeaderDraws draws(engine); }
    std::minstd_rand fresh;
    EXPECT_EQ(engine(), fresh());
}

TEST(BlockHeaderDraws, SuccessiveDrawObjectsContinueTheSequence) {
    std::minstd_rand engine;
    std::minstd_rand reference;
    for (int round = 0; round < 20; ++round) {
        BlockHeaderDraws draws(engine, 16);
        for (int i = 0; i < round; ++i) {
            const BlockHeaderDraws::Header expected = ReferenceHeader(reference);
            const BlockHeaderDraws::Header actual = draws.Next();
            ASSERT_EQ(actual.key, expected.key) << "round " << round << " header " << i;
            ASSERT_EQ(actual.length, expected.length) << "round " << round << " header " << i;
        }
    }
}

TEST(BlockHeaderDraws, FirstHeaderOfTheUnseededGenerator) {
    // First draw 48271: low byte 0x8F. Second 182605794: modulo 50 is 44.
    std::minstd_rand engine;
    BlockHeaderDraws draws(engine);
    const BlockHeaderDraws::Header header = draws.Next();
    EXPECT_EQ(header.key, 0x8F);
    EXPECT_EQ(header.length, 119);
}

} // namespace
} // namespace qvs
