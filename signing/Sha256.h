// SHA-256 fed piece by piece, so a file of any size is hashed in one pass.
#pragma once

#include <string>
#include <string_view>

struct gcry_md_handle;

namespace qvs {

class Sha256 {
public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void Add(std::string_view bytes);
    // The digest of everything added, as 64 lower-case hexadecimal digits.
    std::string HexDigest();

    static std::string HexOf(std::string_view bytes);

private:
    gcry_md_handle* handle_ = nullptr;
};

} // namespace qvs
