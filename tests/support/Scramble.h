// Scrambled bytes for the tests: whole content as CStream::Encode writes it,
// or one handmade block with a chosen key and length byte.
#pragma once

#include "protocol/CStream.h"
#include "support/WireBytes.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qvs::test {

inline std::string Scramble(std::string_view plain) {
    CStream stream = StreamOf(plain);
    stream.Encode();
    return std::string(stream.View());
}

inline std::string ScrambledBlock(std::uint8_t key, std::uint8_t length, std::string_view plain) {
    std::string block{static_cast<char>(key), static_cast<char>(length)};
    for (const char c : plain) {
        block.push_back(static_cast<char>(static_cast<std::uint8_t>(c) ^ key));
    }
    return block;
}

} // namespace qvs::test
