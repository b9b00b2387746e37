#include "system/PackageError.h"

namespace qvs {

PackageError::PackageError(const std::string& message) : std::runtime_error(message) {}

} // namespace qvs
