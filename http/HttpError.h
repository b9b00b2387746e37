// An HTTP transfer that ended without a reply (bad address, no connection,
// time-out, abort, receive error). The message is the text shown to support.
#pragma once

#include <stdexcept>
#include <string>

namespace qvs {

class HttpError : public std::runtime_error {
public:
    explicit HttpError(const std::string& message) : std::runtime_error(message) {}
};

} // namespace qvs
