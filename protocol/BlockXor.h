// The XOR of one scrambled block with its key byte, shared by CStream's
// in-memory scrambling and the piecewise Unscrambler. Both directions allow
// source and target to overlap the way in-place scrambling needs.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qvs::BlockXor {

// dst <= src: front to back, so no source byte is overwritten before it is
// read.
void Forward(std::uint8_t* dst, const std::uint8_t* src, std::size_t count, std::uint8_t key);
// dst >= src: back to front, the mirror image.
void Backward(std::uint8_t* dst, const std::uint8_t* src, std::size_t count, std::uint8_t key);

} // namespace qvs::BlockXor
