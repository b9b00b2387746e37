// The checks on a fetched .ecd file while it passes on its way to the disk:
// with keys its digest is taken as it arrives, and only the last bytes,
// where a signature trailer may sit, are held back in memory until the file
// is whole. Verify then says how much of it the package reader may read.
#pragma once

#include "workers/ArrivingDigest.h"
#include "workers/WorkerValues.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace qvs {

class PackageDownload {
public:
    // Checks against RequestName at RequestVersion and the keys of values.
    explicit PackageDownload(const WorkerValues& values);

    // The next bytes of the file, as they arrive.
    void Append(std::string_view piece);
    std::uint64_t Size() const { return size_; }

    // Once the file is whole: throws SignatureError unless it is signed for
    // the item asked for by one of the keys. Returns the length of the
    // content before the trailer; without keys, before a trailer when there
    // is a readable one, else the whole file.
    std::uint64_t Verify();

private:
    void Release(std::size_t count);

    const WorkerValues& values_;
    std::unique_ptr<ArrivingDigest> digest_; // none without keys
    std::string held_;                       // the file's last bytes, not yet handed to the digest
    std::uint64_t size_ = 0;
};

} // namespace qvs
