// The SHA-256 an update signature holds: of the file's bytes before its
// trailer, with a Windows program's CheckSum and Certificate Table entry
// taken as zero, so Authenticode may sign the program after us. Fed piece
// by piece like Sha256: the first PeHeader::MaxHeadSize bytes wait until it
// is known whether they are a program's headers.
#pragma once

#include "signing/Sha256.h"

#include <string>
#include <string_view>

namespace qvs {

class SignedDigest {
public:
    void Add(std::string_view bytes);
    // 64 lower-case hex digits. Call once.
    std::string HexDigest();

    static std::string Of(std::string_view content);

private:
    void AddHead();

    Sha256 digest_;
    std::string head_;
    bool headAdded_ = false;
};

} // namespace qvs
