// Signing and checking a published file. The signed message is text:
//
//   "QVS-UPDATE-SIGNATURE-1\n" NAME "\n" VERSION "\n" SHA256 "\n"
//
// SHA256 being the SignedDigest of the file's bytes before the trailer. The
// same message signed by any Ed25519 tool (openssl pkeyutl -sign -rawin)
// makes the same signature.
//
// A Windows program may be signed by Authenticode after us: its certificate
// table then follows the trailer, and the trailer is found where the
// table's directory entry says the table starts.
#pragma once

#include "signing/SignedItem.h"
#include "signing/UpdateTrailer.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qvs {

class UpdateSignature {
public:
    static constexpr std::string_view Tag = "QVS-UPDATE-SIGNATURE-1";

    static std::string Message(const SignedItem& item, std::string_view digestHex);
    // The trailer for content (which carries none) signed with seed. For a
    // Windows program it starts with the zero bytes that make it end 8-byte
    // aligned, as Authenticode wants its table: they are signed content.
    static std::string Sign(std::string_view seed, const SignedItem& item,
                            std::string_view content);
    // The content of a file without its trailer (nor a certificate table),
    // whether it has one or not.
    static std::string_view Content(std::string_view file);
    // Where the trailer ends: before a program's certificate table that
    // reaches to the end of the file, else at the end. head: the file's
    // first bytes, up to PeHeader::MaxHeadSize.
    static std::uint64_t TrailerEnd(std::string_view head, std::uint64_t fileSize);
    // The same for a file read from the trailer's end: tail is the last
    // min(trailerEnd, UpdateTrailer::MaxSize) bytes before it.
    static std::uint64_t ContentSize(std::string_view tail, std::uint64_t trailerEnd);

    // A whole file in memory, before any of it is written: throws
    // SignatureError unless it carries a trailer for expected whose
    // signature one of publicKeys (32 raw bytes each) makes.
    static void Verify(std::string_view file, const std::vector<std::string>& publicKeys,
                       const SignedItem& expected);
    // The checks of Verify on a trailer read from a file and the digest of
    // its content; expected may be null (any item).
    static void Check(const UpdateTrailer& trailer, std::string_view contentDigestHex,
                      const std::vector<std::string>& publicKeys, const SignedItem* expected);
};

} // namespace qvs
