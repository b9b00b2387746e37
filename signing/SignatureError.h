// A file that must carry a valid signature does not: what() is the one-line
// reason ("no signature", "signed by an unknown key", ...), fit for a log.
#pragma once

#include <stdexcept>
#include <string>

namespace qvs {

class SignatureError : public std::runtime_error {
public:
    explicit SignatureError(const std::string& reason) : std::runtime_error(reason) {}
};

} // namespace qvs
