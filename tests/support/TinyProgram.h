// The smallest 64-bit Windows program that Authenticode signs: PE32+
// headers with one .text section, a "ret" at CodeAt.
#pragma once

#include <cstdint>
#include <string>

namespace qvs::test {

constexpr std::size_t CodeAt = 512;
constexpr std::size_t CheckSumAt = 0x58 + 64;
constexpr std::size_t SecurityEntryAt = 0x58 + 112 + 32;

inline std::string TinyProgram() {
    std::string pe(1024, '\0');
    const std::uint64_t fields[][3] = {
        // offset, little-endian value, size
        {0, 'M' | 'Z' << 8, 2}, {0x3c, 0x40, 4},          {0x40, 'P' | 'E' << 8, 4},
        {0x46, 1, 2},           {0x54, 240, 2},           {0x58, 0x20b, 2},
        {0xc4, 16, 4},          {0x148, 0x747865742e, 5}, {0x158, CodeAt, 4},
        {0x15c, CodeAt, 4},     {CodeAt, 0xc3, 1}};
    for (const auto& [at, value, size] : fields) {
        for (std::uint64_t i = 0; i < size; ++i) {
            pe[at + i] = static_cast<char>(value >> (8 * i));
        }
    }
    return pe;
}

} // namespace qvs::test
