// A scrambled package file (.ecd) read and unscrambled one window at a time,
// so that unpacking a package of any size holds only the window in memory.
// It yields the same bytes as loading the whole file into a CStream and
// calling Decode. Opening it reads the file once through to count its plain
// bytes, so that counts and sizes the rest cannot hold are refused at the
// same point as in memory. Given a length, it reads the file only up to
// there, so that a signature trailer after the package is never taken for
// package bytes.
#pragma once

#include "protocol/Unscrambler.h"
#include "system/PackageSource.h"

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace qvs {

class ScrambledPackageFile : public PackageSource {
public:
    static constexpr std::size_t DefaultWindow = std::size_t{1} << 20;
    static constexpr std::uint64_t WholeFile = UINT64_MAX;

    // Reads the file's first length bytes. Throws std::runtime_error naming
    // the file when it cannot be opened; reads that fail later throw the same.
    explicit ScrambledPackageFile(const std::string& path, std::uint64_t length = WholeFile,
                                  std::size_t window = DefaultWindow);

    void ReadString(std::string& value) override;
    void ReadInt(std::int32_t& value) override;
    void ReadPieces(std::size_t count, const ByteSink& sink) override;
    std::uint64_t Remaining() const override { return plainLeft_; }

private:
    // Replaces the used-up window with the next plain bytes; false at the
    // end of the file.
    bool Refill();
    std::size_t ReadRaw(); // into the window; 0 at the end of the file
    std::uint64_t CountPlainBytes();
    [[noreturn]] void ThrowReadError() const;

    std::string path_;
    std::ifstream file_;
    std::uint64_t length_;
    std::uint64_t rawLeft_ = 0;   // of length_, not yet read
    std::uint64_t plainLeft_ = 0; // what Remaining reports; the file may change meanwhile
    Unscrambler unscrambler_;
    std::vector<std::uint8_t> window_;
    std::size_t begin_ = 0; // the unread plain bytes are window_[begin_, end_)
    std::size_t end_ = 0;
};

} // namespace qvs
