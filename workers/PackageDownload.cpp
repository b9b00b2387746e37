#include "workers/PackageDownload.h"

#include "signing/SignatureError.h"
#include "signing/UpdateSignature.h"
#include "signing/UpdateTrailer.h"

namespace qvs {

namespace {

// Handed to the digest in pieces of at least this size, so its thread wakes
// a few times per file rather than for every piece of the network.
constexpr std::size_t MinPiece = 256 << 10;

} // namespace

PackageDownload::PackageDownload(const WorkerValues& values)
    : values_(values),
      digest_(values.UpdatePublicKeys.empty() ? nullptr : std::make_unique<ArrivingDigest>()) {}

void PackageDownload::Append(std::string_view piece) {
    held_.append(piece);
    size_ += piece.size();
    // The trailer's length is known only at the end: its largest size stays.
    if (held_.size() >= UpdateTrailer::MaxSize + MinPiece) {
        Release(held_.size() - UpdateTrailer::MaxSize);
    }
}

void PackageDownload::Release(std::size_t count) {
    if (digest_) {
        digest_->Add(std::string_view(held_).substr(0, count));
    }
    held_.erase(0, count);
}

std::uint64_t PackageDownload::Verify() {
    const std::string_view tail = std::string_view(held_).substr(
        held_.size() - std::min(held_.size(), UpdateTrailer::MaxSize));
    if (!digest_) {
        try {
            return UpdateSignature::ContentSize(tail, size_);
        } catch (const SignatureError&) {
            return size_; // taken as it came, as every file without keys
        }
    }
    const UpdateTrailer trailer = UpdateTrailer::Read(tail, size_);
    // The content ends within the held bytes: the trailer is never longer.
    const std::uint64_t released = size_ - held_.size();
    const std::string digest = digest_->Finish(std::string_view(held_).substr(
        0, static_cast<std::size_t>(trailer.contentSize - released)));
    const SignedItem item{values_.RequestName, std::to_string(values_.RequestVersion)};
    UpdateSignature::Check(trailer, digest, values_.UpdatePublicKeys, &item);
    return trailer.contentSize;
}

} // namespace qvs
