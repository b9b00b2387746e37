#include "protocol/BlockHeaderDraws.h"

#include <gtest/gtest.h>

#include <bit>
#include <random>

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

// Batched draws give the headers and leave the engine exactly as drawing one
// by one does, whatever the batch, the count and the draws made before.
TEST(BlockHeaderDraws, SameHeadersAndFollowingDrawsAsOneByOne) {
    const struct {
        std::size_t batch;
        std::size_t headers;
        int drawnBefore;
    } cases[] = {{2, 5000, 0},      {3, 5000, 0},  {7, 5000, 3},    {65, 20000, 2},
                 {1024, 200000, 0}, {1024, 1, 17}, {1024, 1023, 0}, {16, 0, 0}};
    for (const auto& item : cases) {
        std::minstd_rand engine;
        std::minstd_rand reference;
        engine.discard(static_cast<unsigned long long>(item.drawnBefore));
        reference.discard(static_cast<unsigned long long>(item.drawnBefore));
        for (int round = 0; round < 2; ++round) { // a second object continues the sequence
            BlockHeaderDraws draws(engine, item.batch);
            for (std::size_t i = 0; i < item.headers; ++i) {
                const BlockHeaderDraws::Header expected = ReferenceHeader(reference);
                const BlockHeaderDraws::Header actual = draws.Next();
                ASSERT_EQ(actual.key, expected.key) << "batch " << item.batch << " header " << i;
                ASSERT_EQ(actual.length, expected.length) << "batch " << item.batch;
            }
        }
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(engine(), reference()) << "batch " << item.batch << " draw " << i;
        }
    }
}

} // namespace
} // namespace qvs
