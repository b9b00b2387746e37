#include "signing/Ed25519.h"

#include "signing/GcryptLibrary.h"

#include <gcrypt.h>

#include <memory>
#include <stdexcept>

namespace qvs {

namespace {

struct SexpRelease {
    void operator()(gcry_sexp_t sexp) const { gcry_sexp_release(sexp); }
};
using Sexp = std::unique_ptr<gcry_sexp, SexpRelease>;

Sexp Build(const char* format, std::string_view a, std::string_view b = {}) {
    gcry_sexp_t sexp = nullptr;
    const gcry_error_t error = gcry_sexp_build(&sexp, nullptr, format, static_cast<int>(a.size()),
                                               a.data(), static_cast<int>(b.size()), b.data());
    if (error != 0) {
        throw std::runtime_error("cannot build an Ed25519 request");
    }
    return Sexp(sexp);
}

// The value of token in sexp as bytes; libgcrypt may mark a point with a
// leading 0x40 byte, which is not part of the key.
std::string Token(gcry_sexp_t sexp, const char* token) {
    const Sexp found(gcry_sexp_find_token(sexp, token, 0));
    std::size_t size = 0;
    const char* data = found ? gcry_sexp_nth_data(found.get(), 1, &size) : nullptr;
    if (data == nullptr) {
        throw std::runtime_error(std::string("Ed25519 result without ") + token);
    }
    std::string value(data, size);
    if (value.size() == Ed25519::KeySize + 1 && value[0] == 0x40) {
        value.erase(0, 1);
    }
    return value;
}

constexpr const char* messageFormat = "(data(flags eddsa)(hash-algo sha512)(value %b))";

} // namespace

Ed25519::KeyPair Ed25519::Generate() {
    GcryptLibrary::Ready();
    const Sexp request = Build("(genkey(ecc(curve Ed25519)(flags eddsa)))", {});
    gcry_sexp_t pair = nullptr;
    if (gcry_pk_genkey(&pair, request.get()) != 0) {
        throw std::runtime_error("cannot make an Ed25519 key pair");
    }
    const Sexp owned(pair);
    KeyPair keys{Token(pair, "d"), Token(pair, "q")};
    if (keys.seed.size() != KeySize || keys.publicKey.size() != KeySize) {
        throw std::runtime_error("unexpected Ed25519 key sizes");
    }
    return keys;
}

std::string Ed25519::Sign(std::string_view seed, std::string_view message) {
    if (seed.size() != KeySize) {
        throw std::runtime_error("an Ed25519 secret key has 32 bytes");
    }
    GcryptLibrary::Ready();
    const Sexp key = Build("(private-key(ecc(curve Ed25519)(flags eddsa)(d %b)))", seed);
    const Sexp data = Build(messageFormat, message);
    gcry_sexp_t signature = nullptr;
    if (gcry_pk_sign(&signature, data.get(), key.get()) != 0) {
        throw std::runtime_error("cannot sign with this key");
    }
    const Sexp owned(signature);
    std::string r = Token(signature, "r");
    std::string s = Token(signature, "s");
    if (r.size() != KeySize || s.size() != KeySize) {
        throw std::runtime_error("unexpected Ed25519 signature size");
    }
    return r + s;
}

bool Ed25519::Verify(std::string_view publicKey, std::string_view message,
                     std::string_view signature) {
    if (publicKey.size() != KeySize || signature.size() != SignatureSize) {
        return false;
    }
    GcryptLibrary::Ready();
    try {
        const Sexp key = Build("(public-key(ecc(curve Ed25519)(flags eddsa)(q %b)))", publicKey);
        const Sexp data = Build(messageFormat, message);
        const Sexp sig = Build("(sig-val(eddsa(r %b)(s %b)))", signature.substr(0, KeySize),
                               signature.substr(KeySize));
        return gcry_pk_verify(sig.get(), data.get(), key.get()) == 0;
    } catch (const std::runtime_error&) {
        return false;
    }
}

} // namespace qvs
