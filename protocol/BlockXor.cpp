#include "protocol/BlockXor.h"

#include <cstring>

namespace qvs::BlockXor {

namespace {

// XORs width bytes with key, loading them all before storing any, so that
// source and target of one chunk may overlap.
template <std::size_t width>
void XorChunk(std::uint8_t* dst, const std::uint8_t* src, std::uint8_t key) {
    std::uint8_t chunk[width];
    std::memcpy(chunk, src, width);
    for (auto& byte : chunk) {
        byte ^= key;
    }
    std::memcpy(dst, chunk, width);
}

// A whole block of 64 to 128 bytes as two 64-byte halves that meet or
// overlap in the middle: every byte is loaded before any is stored, with no
// loop and no tail, which is what makes the scrambling about as fast as a copy.
void XorWholeBlock(std::uint8_t* dst, const std::uint8_t* src, std::size_t count,
                   std::uint8_t key) {
    std::uint8_t chunk[128];
    std::memcpy(chunk, src, 64);
    std::memcpy(chunk + 64, src + count - 64, 64);
    for (auto& byte : chunk) {
        byte ^= key;
    }
    std::memcpy(dst, chunk, 64);
    std::memcpy(dst + count - 64, chunk + 64, 64);
}

} // namespace

void Forward(std::uint8_t* dst, const std::uint8_t* src, std::size_t count, std::uint8_t key) {
    if (count >= 64 && count <= 128) {
        XorWholeBlock(dst, src, count, key);
        return;
    }
    std::size_t done = 0;
    for (; count - done >= 32; done += 32) {
        XorChunk<32>(dst + done, src + done, key);
    }
    if (count - done >= 16) {
        XorChunk<16>(dst + done, src + done, key);
        done += 16;
    }
    if (count - done >= 8) {
        XorChunk<8>(dst + done, src + done, key);
        done += 8;
    }
    for (; done < count; ++done) {
        dst[done] = static_cast<std::uint8_t>(src[done] ^ key);
    }
}

void Backward(std::uint8_t* dst, const std::uint8_t* src, std::size_t count, std::uint8_t key) {
    if (count >= 64 && count <= 128) {
        XorWholeBlock(dst, src, count, key);
        return;
    }
    for (; count >= 32; count -= 32) {
        XorChunk<32>(dst + count - 32, src + count - 32, key);
    }
    if (count >= 16) {
        count -= 16;
        XorChunk<16>(dst + count, src + count, key);
    }
    if (count >= 8) {
        count -= 8;
        XorChunk<8>(dst + count, src + count, key);
    }
    while (count > 0) {
        --count;
        dst[count] = static_cast<std::uint8_t>(src[count] ^ key);
    }
}

} // namespace qvs::BlockXor
