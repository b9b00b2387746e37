#include "signing/UpdateSignature.h"

#include "signing/Ed25519.h"
#include "signing/PeHeader.h"
#include "signing/SignatureError.h"
#include "signing/SignedDigest.h"

#include <algorithm>

namespace qvs {

namespace {

std::string_view Tail(std::string_view part) {
    return part.substr(part.size() - std::min(part.size(), UpdateTrailer::MaxSize));
}

} // namespace

std::string UpdateSignature::Message(const SignedItem& item, std::string_view digestHex) {
    return std::string(Tag) + "\n" + item.name + "\n" + item.version + "\n" +
           std::string(digestHex) + "\n";
}

std::string UpdateSignature::Sign(std::string_view seed, const SignedItem& item,
                                  std::string_view content) {
    std::string padding;
    if (PeHeader::Find(content)) {
        const std::size_t trailerSize =
            Message(item, std::string(64, '0')).size() + UpdateTrailer::FixedSize;
        padding.assign((8 - (content.size() + trailerSize) % 8) % 8, '\0');
    }
    SignedDigest digest;
    digest.Add(content);
    digest.Add(padding);
    const std::string message = Message(item, digest.HexDigest());
    return padding + UpdateTrailer::Make(message, Ed25519::Sign(seed, message));
}

std::uint64_t UpdateSignature::TrailerEnd(std::string_view head, std::uint64_t fileSize) {
    const std::optional<PeHeader> pe = PeHeader::Find(head);
    // A table inside the headers, or not reaching to the end, is not ours to skip.
    const bool tableAtEnd = pe && pe->tableSize != 0 &&
                            pe->tableOffset >= pe->securityEntryAt + PeHeader::SecurityEntrySize &&
                            pe->tableOffset + pe->tableSize == fileSize;
    return tableAtEnd ? pe->tableOffset : fileSize;
}

std::string_view UpdateSignature::Content(std::string_view file) {
    const std::string_view part = file.substr(0, TrailerEnd(file, file.size()));
    return part.substr(0, ContentSize(Tail(part), part.size()));
}

std::uint64_t UpdateSignature::ContentSize(std::string_view tail, std::uint64_t trailerEnd) {
    return UpdateTrailer::Present(tail) ? UpdateTrailer::Read(tail, trailerEnd).contentSize
                                        : trailerEnd;
}

void UpdateSignature::Verify(std::string_view file, const std::vector<std::string>& publicKeys,
                             const SignedItem& expected) {
    const std::string_view part = file.substr(0, TrailerEnd(file, file.size()));
    const UpdateTrailer trailer = UpdateTrailer::Read(Tail(part), part.size());
    Check(trailer, SignedDigest::Of(part.substr(0, trailer.contentSize)), publicKeys, &expected);
}

void UpdateSignature::Check(const UpdateTrailer& trailer, std::string_view contentDigestHex,
                            const std::vector<std::string>& publicKeys,
                            const SignedItem* expected) {
    if (expected != nullptr && trailer.item != *expected) {
        throw SignatureError("signed for " + trailer.item.Text() + ", not " + expected->Text());
    }
    if (trailer.digestHex != contentDigestHex) {
        throw SignatureError("signature does not match the file");
    }
    const bool signedByOne =
        std::any_of(publicKeys.begin(), publicKeys.end(), [&trailer](const std::string& key) {
            return Ed25519::Verify(key, trailer.message, trailer.signature);
        });
    if (!signedByOne) {
        throw SignatureError("signed by an unknown key");
    }
}

} // namespace qvs
