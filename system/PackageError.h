// Raised when a package is refused: a path that would leave the directory it
// is unpacked into, or records nested deeper than the launcher accepts.
#pragma once

#include <stdexcept>
#include <string>

namespace qvs {

class PackageError : public std::runtime_error {
public:
    explicit PackageError(const std::string& message);
};

} // namespace qvs
