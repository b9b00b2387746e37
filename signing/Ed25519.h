// Pure Ed25519 (RFC 8032) through libgcrypt: a secret key is its 32-byte
// seed, a public key its 32 raw bytes, a signature 64 bytes (R then S).
#pragma once

#include <string>
#include <string_view>

namespace qvs {

class Ed25519 {
public:
    static constexpr std::size_t KeySize = 32;
    static constexpr std::size_t SignatureSize = 64;

    struct KeyPair {
        std::string seed;
        std::string publicKey;
    };

    // A fresh key pair from the library's strong random source.
    static KeyPair Generate();
    // Throws std::runtime_error on a seed of the wrong size.
    static std::string Sign(std::string_view seed, std::string_view message);
    // False for any signature, key or size that does not check out.
    static bool Verify(std::string_view publicKey, std::string_view message,
                       std::string_view signature);
};

} // namespace qvs
