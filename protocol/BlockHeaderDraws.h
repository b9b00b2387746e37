// The key and length bytes of the scrambling blocks, drawn from the stream's
// generator. The draws are exactly those of calling the generator once per
// value; they are only computed faster, several at a time and without a
// branch per rejected key, because a large package has a block every hundred
// bytes and the draws would otherwise cost as much as the scrambling itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

namespace qvs {

class BlockHeaderDraws {
public:
    struct Header {
        std::uint8_t key;    // at least 4 of its 8 bits set
        std::uint8_t length; // 75 to 124
    };

    // batch: how many draws are computed ahead at a time (at least 2).
    explicit BlockHeaderDraws(std::minstd_rand& engine, std::size_t batch = 1024);
    // Leaves the engine just after the last draw used, as if every draw had
    // been taken from it one by one.
    ~BlockHeaderDraws();
    BlockHeaderDraws(const BlockHeaderDraws&) = delete;
    BlockHeaderDraws& operator=(const BlockHeaderDraws&) = delete;

    Header Next();

private:
    void Refill();
    std::size_t FirstKey() const; // index of the first acceptable key from next_

    std::minstd_rand& engine_;
    std::vector<std::uint32_t> draws_;
    std::vector<std::uint64_t> keyFlags_; // bit i: draws_[i] gives an acceptable key
    std::size_t filled_ = 0;
    std::size_t next_ = 0;
    std::uint32_t lastUsed_ = 0; // 0: nothing drawn yet
};

} // namespace qvs
