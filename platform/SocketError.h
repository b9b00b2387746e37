// Failures of the socket layer. The kind lets callers map a failure onto
// their own texts (the HTTP client's "Connection Failed", a worker's failure
// flag) without parsing messages.
#pragma once

#include <stdexcept>
#include <string>

namespace qvs::platform {

class SocketError : public std::runtime_error {
public:
    enum class Kind {
        NameLookup, // the host name does not resolve to an IPv4 address
        Connect,    // refused or unreachable
        TimedOut,   // no connection or no data within the time-out
        Closed,     // the peer closed before the expected bytes arrived
        Send,
        Receive,
        Listen, // socket creation, bind or listen of a listener
        Accept,
        NotOpen, // an operation on a socket that is not connected
    };

    SocketError(Kind kind, const std::string& message);

    Kind GetKind() const { return kind_; }

private:
    Kind kind_;
};

} // namespace qvs::platform
