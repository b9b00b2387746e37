#include "protocol/ProtocolError.h"

namespace qvs {

ProtocolError::ProtocolError(const std::string& message) : std::runtime_error(message) {}

} // namespace qvs
