// Turns the scrambled form that CStream::Encode makes (blocks of a key byte,
// a length byte and that many data bytes XOR the key) back into plain bytes,
// piece by piece, so that a package too large to hold in memory can be
// unscrambled as it is read. Fed a whole content in one or many pieces it
// gives exactly what CStream::Decode gives: a block cut short by the end
// yields the bytes it has, and a lone key byte at the end yields nothing.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qvs {

class Unscrambler {
public:
    // Unscrambles the next count scrambled bytes into out and returns how
    // many plain bytes it wrote (at most count). out may be input itself, or
    // anywhere before it: plain bytes never overtake the scrambled ones. With
    // out null it only counts them, which walks block headers alone.
    std::size_t Feed(const std::uint8_t* input, std::size_t count, std::uint8_t* out);

private:
    std::uint8_t key_ = 0;
    bool haveKey_ = false;      // a key byte arrived, its length byte not yet
    std::size_t blockLeft_ = 0; // data bytes still due in the current block
};

} // namespace qvs
