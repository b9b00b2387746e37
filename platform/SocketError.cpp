#include "platform/SocketError.h"

namespace qvs::platform {

SocketError::SocketError(Kind kind, const std::string& message)
    : std::runtime_error(message), kind_(kind) {}

} // namespace qvs::platform
