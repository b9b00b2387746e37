// Writing expected wire bytes in tests: Bytes({0x01, 0x00}) and Le32(7).
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "protocol/CStream.h"

namespace qvs::test {

inline std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (const int value : values) {
        bytes.push_back(static_cast<char>(value));
    }
    return bytes;
}

inline std::string Le32(std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    return Bytes({static_cast<int>(bits & 0xFF), static_cast<int>((bits >> 8) & 0xFF),
                  static_cast<int>((bits >> 16) & 0xFF), static_cast<int>(bits >> 24)});
}

// A string including its terminating zero byte, as CStream writes it.
inline std::string Sz(std::string_view text) {
    return std::string(text) + '\0';
}

// A stream holding bytes, positioned at 0.
inline CStream StreamOf(std::string_view bytes) {
    CStream stream;
    stream.Write(bytes.data(), bytes.size());
    stream.SetPosition(0);
    return stream;
}

inline std::string Content(const CStream& stream) {
    return std::string(stream.View());
}

inline std::span<const std::byte> AsBytes(std::string_view bytes) {
    return std::as_bytes(std::span(bytes.data(), bytes.size()));
}

} // namespace qvs::test
