// Raised when a server's reply breaks the framing rules: a wrong reply type,
// a wrong tag byte or an announced length we refuse to reserve.
#pragma once

#include <stdexcept>
#include <string>

namespace qvs {

class ProtocolError : public std::runtime_error {
public:
    explicit ProtocolError(const std::string& message);
};

} // namespace qvs
