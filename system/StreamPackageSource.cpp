#include "system/StreamPackageSource.h"

namespace qvs {

void StreamPackageSource::ReadString(std::string& value) {
    stream_.ReadString(value);
}

void StreamPackageSource::ReadInt(std::int32_t& value) {
    stream_.ReadInt(value);
}

void StreamPackageSource::ReadPieces(std::size_t count, const ByteSink& sink) {
    if (count > stream_.Remaining()) {
        throw StreamReadError();
    }
    const auto* start = reinterpret_cast<const std::byte*>(stream_.Data()) + stream_.Position();
    stream_.SetPosition(stream_.Position() + count);
    if (sink) {
        sink(std::span<const std::byte>(start, count));
    }
}

} // namespace qvs
