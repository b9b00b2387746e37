// The signing commands of qvs-pack:
//   keygen SECRET_FILE                                  new key pair; prints the public key
//   sign --key SECRET_FILE --name NAME --version V FILE  appends (or replaces) the trailer;
//                                                       refuses an Authenticode-signed program
//   verify --public-key B64 [--name NAME --version V] FILE
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace qvs {

class SignCommands {
public:
    explicit SignCommands(std::ostream& out);

    // False when args are none of the commands above (wrong usage); throws
    // on bad input, SignatureError when verify refuses the file.
    bool Run(const std::vector<std::string>& args);
    // The bytes of file before its signature trailer (all of them when it
    // has none): what the package reader may read, as in the launcher.
    static std::uint64_t PackageLength(const std::string& file);

private:
    static std::string ReadTail(const std::string& file, std::ifstream& in, std::uint64_t& size);
    void KeyGen(const std::string& secretFile);
    void Sign(const std::string& secretFile, const std::string& name, const std::string& version,
              const std::string& file);
    void Verify(const std::string& publicKeys, const std::string& name, const std::string& version,
                const std::string& file);

    std::ostream& out_;
};

} // namespace qvs
