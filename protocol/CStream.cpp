#include "protocol/CStream.h"

#include "protocol/BlockHeaderDraws.h"
#include "protocol/BlockXor.h"
#include "protocol/Unscrambler.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <new>

namespace qvs {

namespace {

constexpr unsigned minBlockLength = 75;

[[noreturn]] void ThrowOutOfMemory() {
    throw std::runtime_error("Out of memory while expanding memory stream");
}

} // namespace

StreamReadError::StreamReadError() : std::runtime_error("Stream read error") {}

void CStream::SetPosition(std::size_t position) {
    position_ = std::min(position, content_.size());
}

std::string_view CStream::View() const {
    return {reinterpret_cast<const char*>(content_.data()), content_.size()};
}

int CStream::WriteByte(std::uint8_t value) {
    Write(&value, 1);
    return 1;
}

int CStream::WriteInt(std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    const std::uint8_t bytes[4] = {
        static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
        static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)};
    Write(bytes, sizeof bytes);
    return 4;
}

int CStream::WriteString(std::string_view value) {
    Write(value.data(), value.size());
    WriteByte(0);
    return static_cast<int>(value.size() + 1);
}

int CStream::ReadByte(std::uint8_t& value) {
    Read(&value, 1);
    return 1;
}

int CStream::ReadInt(std::int32_t& value) {
    std::uint8_t bytes[4];
    Read(bytes, sizeof bytes);
    const std::uint32_t bits = std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 |
                               std::uint32_t{bytes[2]} << 16 | std::uint32_t{bytes[3]} << 24;
    value = static_cast<std::int32_t>(bits);
    return 4;
}

int CStream::ReadString(std::string& value) {
    const std::size_t start = position_;
    const auto begin = content_.begin() + static_cast<std::ptrdiff_t>(start);
    const auto zero = std::find(begin, content_.end(), std::uint8_t{0});
    value.assign(begin, zero);
    position_ += value.size();
    if (position_ < content_.size()) {
        ++position_; // the terminator
    }
    return static_cast<int>(position_ - start);
}

void CStream::Write(const void* data, std::size_t count) {
    if (count == 0) {
        return;
    }
    if (count > content_.max_size() - position_) {
        ThrowOutOfMemory();
    }
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    if (!std::less<>()(bytes, content_.data()) &&
        std::less<>()(bytes, content_.data() + content_.size())) {
        // A run taken from this very content: growing would move it.
        const Buffer copy(bytes, bytes + count);
        Write(copy.data(), count);
        return;
    }
    const std::size_t end = position_ + count;
    if (end > content_.capacity()) {
        Grow(end);
    }
    const std::size_t inside = std::min(count, content_.size() - position_);
    std::memcpy(content_.data() + position_, bytes, inside);
    content_.insert(content_.end(), bytes + inside, bytes + count);
    position_ = end;
}

void CStream::Read(void* data, std::size_t count) {
    if (count > Remaining()) {
        throw StreamReadError();
    }
    if (count > 0) {
        std::memcpy(data, content_.data() + position_, count);
        position_ += count;
    }
}

void CStream::CopyFrom(CStream& other, std::size_t count) {
    if (count == 0) {
        other.position_ = 0;
        count = other.Size();
    }
    if (count > other.Remaining()) {
        throw StreamReadError();
    }
    const std::uint8_t* source = other.content_.data() + other.position_;
    other.position_ += count;
    Write(source, count);
}

void CStream::Clear() {
    content_.clear();
    position_ = 0;
}

void CStream::Grow(std::size_t size) {
    if (size > content_.max_size()) {
        ThrowOutOfMemory();
    }
    // Geometric growth keeps a message built byte by byte linear; when the
    // larger reservation fails, the exact size may still fit.
    const std::size_t capacity = content_.capacity();
    const std::size_t preferred =
        std::min(std::max(size, capacity + capacity / 2), content_.max_size());
    try {
        content_.reserve(preferred);
        return;
    } catch (const std::bad_alloc&) {
        if (preferred == size) {
            ThrowOutOfMemory();
        }
    }
    try {
        content_.reserve(size);
    } catch (const std::bad_alloc&) {
        ThrowOutOfMemory();
    }
}

CStream::Buffer CStream::DrawBlocks(std::size_t size) {
    // At most one block per 75 bytes, plus the short last one.
    Buffer headers((size / minBlockLength + 1) * 2);
    BlockHeaderDraws draws(random_);
    std::size_t used = 0;
    for (std::size_t left = size; left > 0; used += 2) {
        const BlockHeaderDraws::Header header = draws.Next();
        headers[used] = header.key;
        headers[used + 1] = header.length;
        left -= std::min<std::size_t>(header.length, left);
    }
    headers.resize(used);
    return headers;
}

void CStream::Encode() {
    const std::size_t size = content_.size();
    position_ = 0;
    if (size == 0) {
        return;
    }
    // The draws do not depend on the content, so all block headers are known
    // before any byte moves and the scrambled size is exact.
    const Buffer headers = DrawBlocks(size);
    if (size + headers.size() <= content_.capacity()) {
        EncodeInPlace(headers);
    } else {
        EncodeInto(headers);
    }
}

void CStream::EncodeInto(const Buffer& headers) {
    const std::size_t size = content_.size();
    Buffer area;
    try {
        area.resize(size + headers.size());
    } catch (const std::bad_alloc&) {
        ThrowOutOfMemory();
    } catch (const std::length_error&) {
        ThrowOutOfMemory();
    }
    std::size_t read = 0;
    std::size_t written = 0;
    for (std::size_t block = 0; block < headers.size(); block += 2) {
        const std::uint8_t key = headers[block];
        const std::size_t take = std::min<std::size_t>(headers[block + 1], size - read);
        area[written] = key;
        area[written + 1] = headers[block + 1];
        BlockXor::Forward(area.data() + written + 2, content_.data() + read, take, key);
        read += take;
        written += 2 + take;
    }
    content_.swap(area);
}

void CStream::EncodeInPlace(const Buffer& headers) {
    // Every block moves up by the headers in front of it: working from the
    // last block down, each byte is read before anything lands on it.
    const std::size_t size = content_.size();
    const std::size_t blocks = headers.size() / 2;
    std::size_t fullBlockBytes = 0;
    for (std::size_t block = 0; block + 1 < blocks; ++block) {
        fullBlockBytes += headers[2 * block + 1];
    }
    content_.resize(size + headers.size());
    std::uint8_t* bytes = content_.data();
    std::size_t read = size;
    std::size_t written = content_.size();
    std::size_t take = size - fullBlockBytes;
    for (std::size_t block = blocks; block-- > 0;) {
        const std::uint8_t key = headers[2 * block];
        read -= take;
        written -= take;
        BlockXor::Backward(bytes + written, bytes + read, take, key);
        written -= 2;
        bytes[written] = key;
        bytes[written + 1] = headers[2 * block + 1];
        if (block > 0) {
            take = headers[2 * block - 1];
        }
    }
}

void CStream::Decode() {
    // Every block header is dropped, so the plain bytes can overwrite the
    // scrambled ones as they go.
    const std::size_t written =
        Unscrambler().Feed(content_.data(), content_.size(), content_.data());
    content_.resize(written);
    position_ = 0;
}

} // namespace qvs
