#include "platform/FileSystem.h"

namespace qvs::platform {

FileCreateError::FileCreateError(const std::string& path)
    : std::runtime_error("Cannot create file " + path) {}

FileCreateError::FileCreateError(const std::string& path, const std::string& reason)
    : std::runtime_error("Cannot create file " + path + " (" + reason + ")") {}

} // namespace qvs::platform
