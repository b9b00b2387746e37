// Helpers shared by the POSIX socket classes.
#pragma once

#include <netinet/in.h>

#include <cstdint>
#include <string>

#include "platform/SocketError.h"

namespace qvs::platform::posix {

// "what: reason" with the text of the current errno.
[[noreturn]] void ThrowSocketError(SocketError::Kind kind, const std::string& what);
[[noreturn]] void ThrowSocketError(SocketError::Kind kind, const std::string& what, int error);

// Waits until fd is readable (events POLLIN) or writable (POLLOUT); false
// when timeoutMs ran out. Restarts after signals with the remaining time.
bool WaitFor(int fd, short events, int timeoutMs);

std::string AddressText(const sockaddr_in& address);
sockaddr_in LocalEnd(int fd);
sockaddr_in PeerEnd(int fd);

} // namespace qvs::platform::posix
