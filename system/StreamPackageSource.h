// A package held whole in a CStream, read from the stream's position on; each
// file's content is handed over as one piece, without a copy.
#pragma once

#include "protocol/CStream.h"
#include "system/PackageSource.h"

namespace qvs {

class StreamPackageSource : public PackageSource {
public:
    explicit StreamPackageSource(CStream& stream) : stream_(stream) {}

    void ReadString(std::string& value) override;
    void ReadInt(std::int32_t& value) override;
    void ReadPieces(std::size_t count, const ByteSink& sink) override;
    std::uint64_t Remaining() const override { return stream_.Remaining(); }

private:
    CStream& stream_;
};

} // namespace qvs
