#include "platform/FileSystem.h"

namespace qvs::platform {

FileCreateError::FileCreateError(const std::string& path)
    : std::runtime_error("Cannot create file " + path) {}

} // namespace qvs::platform
