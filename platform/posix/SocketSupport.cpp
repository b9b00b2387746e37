#include "platform/posix/SocketSupport.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace qvs::platform::posix {

void ThrowSocketError(SocketError::Kind kind, const std::string& what) {
    ThrowSocketError(kind, what, errno);
}

void ThrowSocketError(SocketError::Kind kind, const std::string& what, int error) {
    throw SocketError(kind, what + ": " + std::strerror(error));
}

bool WaitFor(int fd, short events, int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        int waitMs = -1;
        if (timeoutMs >= 0) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
            waitMs = left.count() > 0 ? static_cast<int>(left.count()) : 0;
        }
        pollfd entry{fd, events, 0};
        const int ready = ::poll(&entry, 1, waitMs);
        if (ready > 0) {
            return true;
        }
        if (ready == 0) {
            return false;
        }
        if (errno != EINTR) {
            ThrowSocketError(SocketError::Kind::Receive, "Waiting on socket failed");
        }
    }
}

std::string AddressText(const sockaddr_in& address) {
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &address.sin_addr, text, sizeof text);
    return text;
}

sockaddr_in LocalEnd(int fd) {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ThrowSocketError(SocketError::Kind::NotOpen, "Cannot read the local address");
    }
    return address;
}

sockaddr_in PeerEnd(int fd) {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    if (::getpeername(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ThrowSocketError(SocketError::Kind::NotOpen, "Cannot read the peer address");
    }
    return address;
}

} // namespace qvs::platform::posix
