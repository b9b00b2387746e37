#include "system/ScrambledPackageFile.h"

#include "platform/FileSystem.h"
#include "platform/Utf8Path.h"
#include "protocol/CStream.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>

namespace qvs {

ScrambledPackageFile::ScrambledPackageFile(const std::string& path, std::uint64_t length,
                                           std::size_t window)
    : path_(path), length_(length), rawLeft_(length), window_(std::max<std::size_t>(window, 1)) {
    file_.open(platform::Utf8Path(platform::NativePath(path)), std::ios::binary);
    if (!file_) {
        ThrowReadError();
    }
    plainLeft_ = CountPlainBytes();
}

void ScrambledPackageFile::ReadString(std::string& value) {
    value.clear();
    do {
        const auto* begin = window_.data() + begin_;
        const auto* end = window_.data() + end_;
        const auto* zero = std::find(begin, end, std::uint8_t{0});
        value.append(begin, zero);
        const std::size_t taken = static_cast<std::size_t>(zero - begin) + (zero != end ? 1 : 0);
        begin_ += taken;
        plainLeft_ -= std::min<std::uint64_t>(taken, plainLeft_);
        if (zero != end) {
            return;
        }
    } while (Refill());
}

// The four bytes may straddle two windows; CStream owns their layout.
void ScrambledPackageFile::ReadInt(std::int32_t& value) {
    CStream bytes;
    ReadPieces(
        4, [&bytes](std::span<const std::byte> piece) { bytes.Write(piece.data(), piece.size()); });
    bytes.SetPosition(0);
    bytes.ReadInt(value);
}

void ScrambledPackageFile::ReadPieces(std::size_t count, const ByteSink& sink) {
    while (count > 0) {
        if (begin_ == end_ && !Refill()) {
            throw StreamReadError();
        }
        const std::size_t take = std::min(count, end_ - begin_);
        const std::size_t at = begin_;
        begin_ += take;
        count -= take;
        plainLeft_ -= std::min<std::uint64_t>(take, plainLeft_);
        if (sink) {
            sink(std::as_bytes(std::span(window_.data() + at, take)));
        }
    }
}

// Called only once the window is used up, so the new bytes start at its
// front. A piece of header bytes alone gives no plain bytes but is no end.
bool ScrambledPackageFile::Refill() {
    begin_ = 0;
    end_ = 0;
    const std::size_t read = ReadRaw();
    end_ = unscrambler_.Feed(window_.data(), read, window_.data());
    return read > 0;
}

std::size_t ScrambledPackageFile::ReadRaw() {
    const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(window_.size(), rawLeft_));
    if (want == 0) {
        return 0;
    }
    file_.read(reinterpret_cast<char*>(window_.data()), static_cast<std::streamsize>(want));
    if (file_.bad()) {
        ThrowReadError();
    }
    const auto read = static_cast<std::size_t>(file_.gcount());
    rawLeft_ -= read;
    return read;
}

// Walks the block headers of the whole file, then rewinds for the reading.
std::uint64_t ScrambledPackageFile::CountPlainBytes() {
    Unscrambler counter;
    std::uint64_t plain = 0;
    while (const std::size_t read = ReadRaw()) {
        plain += counter.Feed(window_.data(), read, nullptr);
    }
    file_.clear();
    file_.seekg(0);
    rawLeft_ = length_;
    if (!file_) {
        ThrowReadError();
    }
    return plain;
}

void ScrambledPackageFile::ThrowReadError() const {
    throw std::runtime_error("Cannot read file " + path_);
}

} // namespace qvs
