// The content of one file record, left in the package until the file handler
// asks for it, so that a file larger than memory can go straight to disk.
#pragma once

#include "system/PackageSource.h"

#include <cstddef>

namespace qvs {

class PackageContent {
public:
    PackageContent(PackageSource& source, std::size_t size)
        : source_(source), size_(size), left_(size) {}

    std::size_t Size() const { return size_; }
    // Hands the content to sink in pieces; once read, it is gone, and a
    // second call hands over nothing.
    void Read(const PackageSource::ByteSink& sink) {
        const std::size_t count = left_;
        left_ = 0;
        source_.ReadPieces(count, sink);
    }
    // Passes over whatever was not read.
    void Skip() { Read({}); }

private:
    PackageSource& source_;
    std::size_t size_;
    std::size_t left_;
};

} // namespace qvs
