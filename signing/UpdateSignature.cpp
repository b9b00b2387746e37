#include "signing/UpdateSignature.h"

#include "signing/Ed25519.h"
#include "signing/Sha256.h"
#include "signing/SignatureError.h"

#include <algorithm>

namespace qvs {

std::string UpdateSignature::Message(const SignedItem& item, std::string_view digestHex) {
    return std::string(Tag) + "\n" + item.name + "\n" + item.version + "\n" +
           std::string(digestHex) + "\n";
}

std::string UpdateSignature::Sign(std::string_view seed, const SignedItem& item,
                                  std::string_view content) {
    Sha256 digest;
    digest.Add(content);
    const std::string message = Message(item, digest.HexDigest());
    return UpdateTrailer::Make(message, Ed25519::Sign(seed, message));
}

std::string_view UpdateSignature::Content(std::string_view file) {
    const std::string_view tail =
        file.substr(file.size() - std::min(file.size(), UpdateTrailer::MaxSize));
    return file.substr(0, ContentSize(tail, file.size()));
}

std::uint64_t UpdateSignature::ContentSize(std::string_view tail, std::uint64_t fileSize) {
    return UpdateTrailer::Present(tail) ? UpdateTrailer::Read(tail, fileSize).contentSize
                                        : fileSize;
}

void UpdateSignature::Verify(std::string_view file, const std::vector<std::string>& publicKeys,
                             const SignedItem& expected) {
    Verify(file, publicKeys, expected, [file](std::uint64_t contentSize) {
        Sha256 digest;
        digest.Add(file.substr(0, contentSize));
        return digest.HexDigest();
    });
}

void UpdateSignature::Verify(std::string_view file, const std::vector<std::string>& publicKeys,
                             const SignedItem& expected, const ContentDigest& contentDigest) {
    const std::string_view tail =
        file.substr(file.size() - std::min(file.size(), UpdateTrailer::MaxSize));
    const UpdateTrailer trailer = UpdateTrailer::Read(tail, file.size());
    Check(trailer, contentDigest(trailer.contentSize), publicKeys, &expected);
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
