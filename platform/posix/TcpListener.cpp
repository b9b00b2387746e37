#include "platform/TcpListener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "platform/SocketError.h"
#include "platform/posix/SocketSupport.h"

namespace qvs::platform {

namespace {

sockaddr_in ParseBindAddress(const std::string& address, std::uint16_t port) {
    sockaddr_in end{};
    end.sin_family = AF_INET;
    end.sin_port = htons(port);
    const std::string text = address.empty() ? "0.0.0.0" : address;
    if (::inet_pton(AF_INET, text.c_str(), &end.sin_addr) != 1) {
        throw SocketError(SocketError::Kind::Listen, "Not an IPv4 address: " + address);
    }
    return end;
}

} // namespace

TcpListener::TcpListener(const std::string& address, std::uint16_t port, int backlog) {
    const sockaddr_in end = ParseBindAddress(address, port);
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        posix::ThrowSocketError(SocketError::Kind::Listen, "Cannot create a socket");
    }
    handle_ = fd;
    // A restarted server may bind again while old connections linger.
    const int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    const std::string where = address + ":" + std::to_string(port);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&end), sizeof end) != 0) {
        const int error = errno;
        Close();
        posix::ThrowSocketError(SocketError::Kind::Listen, "Cannot bind " + where, error);
    }
    if (::listen(fd, backlog) != 0) {
        const int error = errno;
        Close();
        posix::ThrowSocketError(SocketError::Kind::Listen, "Cannot listen on " + where, error);
    }
}

TcpListener::~TcpListener() {
    Close();
}

TcpListener::TcpListener(TcpListener&& other) noexcept : handle_(other.handle_) {
    other.handle_ = -1;
}

TcpListener& TcpListener::operator=(TcpListener&& other) noexcept {
    if (this != &other) {
        Close();
        handle_ = other.handle_;
        other.handle_ = -1;
    }
    return *this;
}

std::optional<TcpSocket> TcpListener::Accept(int timeoutMs) {
    if (!IsOpen()) {
        throw SocketError(SocketError::Kind::NotOpen, "Accept on a closed listener");
    }
    const int fd = static_cast<int>(handle_);
    if (!posix::WaitFor(fd, POLLIN, timeoutMs)) {
        return std::nullopt;
    }
    for (;;) {
        const int client = ::accept4(fd, nullptr, nullptr, SOCK_CLOEXEC);
        if (client >= 0) {
            return TcpSocket(client);
        }
        // A client that gave up between the wait and the accept is no failure.
        if (errno == ECONNABORTED || errno == EAGAIN || errno == EWOULDBLOCK) {
            return std::nullopt;
        }
        if (errno != EINTR) {
            posix::ThrowSocketError(SocketError::Kind::Accept, "Accept failed");
        }
    }
}

std::uint16_t TcpListener::LocalPort() const {
    return ntohs(posix::LocalEnd(static_cast<int>(handle_)).sin_port);
}

std::string TcpListener::LocalAddress() const {
    return posix::AddressText(posix::LocalEnd(static_cast<int>(handle_)));
}

bool TcpListener::IsOpen() const {
    return handle_ >= 0;
}

void TcpListener::Close() {
    if (IsOpen()) {
        ::close(static_cast<int>(handle_));
        handle_ = -1;
    }
}

} // namespace qvs::platform
