// Signing and checking a published file. The signed message is text:
//
//   "QVS-UPDATE-SIGNATURE-1\n" NAME "\n" VERSION "\n" SHA256 "\n"
//
// SHA256 being the 64 lower-case hex digits of the file's bytes before the
// trailer. The same message signed by any Ed25519 tool (openssl pkeyutl
// -sign -rawin) makes the same signature.
#pragma once

#include "signing/SignedItem.h"
#include "signing/UpdateTrailer.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qvs {

class UpdateSignature {
public:
    static constexpr std::string_view Tag = "QVS-UPDATE-SIGNATURE-1";

    static std::string Message(const SignedItem& item, std::string_view digestHex);
    // The trailer for content (which carries none) signed with seed.
    static std::string Sign(std::string_view seed, const SignedItem& item,
                            std::string_view content);
    // The content of a file without its trailer, whether it has one or not.
    static std::string_view Content(std::string_view file);
    // The same for a file read from its end: tail is its last
    // min(fileSize, UpdateTrailer::MaxSize) bytes.
    static std::uint64_t ContentSize(std::string_view tail, std::uint64_t fileSize);

    // A whole file in memory, before any of it is written: throws
    // SignatureError unless it carries a trailer for expected whose
    // signature one of publicKeys (32 raw bytes each) makes.
    static void Verify(std::string_view file, const std::vector<std::string>& publicKeys,
                       const SignedItem& expected);
    // The same, with the content's digest (hex) taken by contentDigest from
    // the content's size, for a digest made while the file arrived.
    using ContentDigest = std::function<std::string(std::uint64_t contentSize)>;
    static void Verify(std::string_view file, const std::vector<std::string>& publicKeys,
                       const SignedItem& expected, const ContentDigest& contentDigest);
    // The checks of Verify on a trailer read from a file and the digest of
    // its content; expected may be null (any item).
    static void Check(const UpdateTrailer& trailer, std::string_view contentDigestHex,
                      const std::vector<std::string>& publicKeys, const SignedItem* expected);
};

} // namespace qvs
