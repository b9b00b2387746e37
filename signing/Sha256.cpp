#include "signing/Sha256.h"

#include "signing/GcryptLibrary.h"

#include <gcrypt.h>

#include <stdexcept>

namespace qvs {

Sha256::Sha256() {
    GcryptLibrary::Ready();
    if (gcry_md_open(&handle_, GCRY_MD_SHA256, 0) != 0) {
        throw std::runtime_error("cannot start a SHA-256 digest");
    }
}

Sha256::~Sha256() {
    gcry_md_close(handle_);
}

void Sha256::Add(std::string_view bytes) {
    gcry_md_write(handle_, bytes.data(), bytes.size());
}

std::string Sha256::HexDigest() {
    const unsigned char* digest = gcry_md_read(handle_, GCRY_MD_SHA256);
    return HexOf(std::string_view(reinterpret_cast<const char*>(digest),
                                  gcry_md_get_algo_dlen(GCRY_MD_SHA256)));
}

std::string Sha256::HexOf(std::string_view bytes) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        hex += digits[byte >> 4];
        hex += digits[byte & 15];
    }
    return hex;
}

} // namespace qvs
