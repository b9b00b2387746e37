#include "protocol/BlockHeaderDraws.h"

#include <algorithm>
#include <array>
#include <bit>

namespace qvs {

namespace {

constexpr std::uint64_t modulus = std::minstd_rand::modulus;
constexpr std::uint64_t multiplier = std::minstd_rand::multiplier;
static_assert(modulus == 0x7FFFFFFF && std::minstd_rand::increment == 0,
              "the fast step below relies on a multiplicative generator modulo 2^31-1");

constexpr std::uint32_t MulMod(std::uint64_t value, std::uint64_t factor) {
    // value * factor < 2^62; 2^31 is 1 modulo 2^31-1, so the high part folds in.
    std::uint64_t product = value * factor;
    product = (product & modulus) + (product >> 31);
    return static_cast<std::uint32_t>(product >= modulus ? product - modulus : product);
}

// Steps of one to four draws, so that four independent chains run side by side.
constexpr std::array<std::uint64_t, 4> jumps = [] {
    std::array<std::uint64_t, 4> result{};
    std::uint64_t factor = 1;
    for (auto& jump : result) {
        factor = MulMod(factor, multiplier);
        jump = factor;
    }
    return result;
}();

constexpr int minKeyBits = 4;
constexpr unsigned minBlockLength = 75;
constexpr unsigned blockLengthSpread = 50;

// A table, because without a popcount instruction in the baseline target
// std::popcount is a library call.
constexpr auto keyAllowed = [] {
    std::array<bool, 256> allowed{};
    for (unsigned value = 0; value < allowed.size(); ++value) {
        allowed[value] = std::popcount(value) >= minKeyBits;
    }
    return allowed;
}();

} // namespace

BlockHeaderDraws::BlockHeaderDraws(std::minstd_rand& engine, std::size_t batch)
    : engine_(engine), draws_(std::max<std::size_t>(batch, 2)),
      keyFlags_((draws_.size() + 63) / 64) {}

BlockHeaderDraws::~BlockHeaderDraws() {
    // A state of the generator is its last result; seeding with it continues
    // the very sequence that one-by-one draws would have produced.
    if (lastUsed_ != 0) {
        engine_.seed(lastUsed_);
    }
}

BlockHeaderDraws::Header BlockHeaderDraws::Next() {
    for (;;) {
        const std::size_t key = FirstKey();
        if (key + 1 < filled_) {
            next_ = key + 2;
            lastUsed_ = draws_[key + 1];
            return {
                static_cast<std::uint8_t>(draws_[key] & 0xFF),
                static_cast<std::uint8_t>(draws_[key + 1] % blockLengthSpread + minBlockLength)};
        }
        // Rejected keys are spent; a key still waiting for its length is kept.
        next_ = key;
        Refill();
    }
}

void BlockHeaderDraws::Refill() {
    // The sequence goes on from the last value computed; only the very first
    // value is taken from the engine itself.
    const bool first = filled_ == 0;
    const std::uint32_t previous =
        first ? static_cast<std::uint32_t>(engine_()) : draws_[filled_ - 1];
    std::copy(draws_.begin() + static_cast<std::ptrdiff_t>(next_),
              draws_.begin() + static_cast<std::ptrdiff_t>(filled_), draws_.begin());
    std::size_t at = filled_ - next_;
    if (first) {
        draws_[at++] = previous;
    }
    for (std::size_t step = 0; step < jumps.size() && at < draws_.size(); ++step, ++at) {
        draws_[at] = MulMod(previous, jumps[step]);
    }
    for (; at < draws_.size(); ++at) {
        draws_[at] = MulMod(draws_[at - 4], jumps[3]);
    }
    filled_ = draws_.size();
    next_ = 0;
    for (std::size_t word = 0; word < keyFlags_.size(); ++word) {
        const std::size_t end = std::min(filled_, word * 64 + 64);
        std::uint64_t flags = 0;
        for (std::size_t i = word * 64; i < end; ++i) {
            flags |= std::uint64_t{keyAllowed[draws_[i] & 0xFF]} << (i % 64);
        }
        keyFlags_[word] = flags;
    }
}

std::size_t BlockHeaderDraws::FirstKey() const {
    for (std::size_t word = next_ / 64; word * 64 < filled_; ++word) {
        std::uint64_t flags = keyFlags_[word];
        if (word == next_ / 64) {
            flags &= ~std::uint64_t{0} << (next_ % 64);
        }
        if (flags != 0) {
            return std::min(word * 64 + static_cast<std::size_t>(std::countr_zero(flags)), filled_);
        }
    }
    return filled_;
}

} // namespace qvs
