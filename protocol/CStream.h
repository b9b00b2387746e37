// CStream: the byte buffer in which every server message is built and parsed
// and through which version files and .ecd packages are read and written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace qvs {

// Raised when a typed or raw read needs more bytes than remain.
class StreamReadError : public std::runtime_error {
public:
    StreamReadError();
};

class CStream {
public:
    std::size_t Size() const { return content_.size(); }
    std::size_t Position() const { return position_; }
    void SetPosition(std::size_t position); // clamped to Size()
    const std::uint8_t* Data() const { return content_.data(); }
    std::string_view View() const; // the whole content

    // Typed writes at Position: little-endian integers, zero-terminated strings.
    int WriteByte(std::uint8_t value);
    int WriteInt(std::int32_t value);
    int WriteString(std::string_view value);
    // Typed reads; ReadByte and ReadInt throw StreamReadError when short.
    int ReadByte(std::uint8_t& value);
    int ReadInt(std::int32_t& value);
    int ReadString(std::string& value); // never fails

    void Write(const void* data, std::size_t count);
    void Read(void* data, std::size_t count); // throws StreamReadError when short
    std::size_t Remaining() const { return content_.size() - position_; }
    // Copies count bytes from other's position (count 0: the whole of other
    // from its start) to this stream's position.
    void CopyFrom(CStream& other, std::size_t count);
    // Room for capacity bytes in one allocation, so that a large file read in
    // pieces is held once, not in a growing series of copies.
    void Reserve(std::size_t capacity) {
        if (capacity > content_.capacity()) {
            Grow(capacity);
        }
    }

    void Clear();
    void Encode(); // scrambles the whole content; Position 0 afterwards
    void Decode(); // unscrambles the whole content; Position 0 afterwards

private:
    using Buffer = std::vector<std::uint8_t>;

    void Grow(std::size_t size);         // capacity for size bytes, or the out-of-memory error
    Buffer DrawBlocks(std::size_t size); // key and length of each block, in order
    void EncodeInPlace(const Buffer& headers); // when the capacity holds the result
    void EncodeInto(const Buffer& headers);    // into a new area

    Buffer content_;
    std::size_t position_ = 0;
    // Never seeded with anything of its own: every process draws the same keys
    // and lengths (BlockHeaderDraws only hands on the state it reached).
    std::minstd_rand random_;
};

} // namespace qvs
