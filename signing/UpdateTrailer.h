// The signature trailer appended to a published file:
//
//   message    M bytes  the signed text (UpdateSignature::Message)
//   signature  64 bytes Ed25519 over the message
//   length     4 bytes  the whole trailer, M + 76, 32-bit little-endian
//   magic      8 bytes  "QvsSig01"
//
// A reader finds it from the end of the file. Readers that know nothing of
// it stop before it: a package ends with its directory record, a program
// with its last section.
#pragma once

#include "signing/SignedItem.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qvs {

struct UpdateTrailer {
    static constexpr std::string_view Magic = "QvsSig01";
    static constexpr std::size_t FixedSize = 64 + 4 + Magic.size();
    // Bounds what a reader takes from the end of a file.
    static constexpr std::size_t MaxSize = 512;

    std::uint64_t contentSize = 0; // the file's bytes before the trailer
    std::string message;
    std::string signature;
    SignedItem item;       // as the message names it
    std::string digestHex; // SHA-256 of the content, as the message holds it

    static std::string Make(std::string_view message, std::string_view signature);
    // tail: the file's last min(fileSize, MaxSize) bytes. Throws
    // SignatureError when there is no trailer or it is damaged.
    static UpdateTrailer Read(std::string_view tail, std::uint64_t fileSize);
    // True when the file ends in the magic, damaged or not.
    static bool Present(std::string_view file);
};

} // namespace qvs
