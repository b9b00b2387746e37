#include "platform/TcpSocket.h"

#include "platform/SlicedWait.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>

#include "platform/SocketError.h"
#include "platform/posix/SocketSupport.h"

namespace qvs::platform {

namespace {

#ifdef MSG_NOSIGNAL
constexpr int SendFlags = MSG_NOSIGNAL; // a closed peer is an error, not a SIGPIPE
#else
constexpr int SendFlags = 0;
#endif

using Clock = std::chrono::steady_clock;

struct AddressListDeleter {
    void operator()(addrinfo* list) const { ::freeaddrinfo(list); }
};
using AddressList = std::unique_ptr<addrinfo, AddressListDeleter>;

AddressList LookUp(const std::string& host, std::uint16_t port) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    const std::string service = std::to_string(port);
    const int result = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &list);
    if (result != 0 || list == nullptr) {
        throw SocketError(SocketError::Kind::NameLookup,
                          "Cannot resolve host name " + host + ": " + ::gai_strerror(result));
    }
    return AddressList(list);
}

void SetNonBlocking(int fd, bool on) {
    const int flags = ::fcntl(fd, F_GETFL);
    ::fcntl(fd, F_SETFL, on ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK));
}

int RemainingMs(Clock::time_point deadline, int timeoutMs) {
    if (timeoutMs < 0) {
        return -1;
    }
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

// Returns the connected descriptor, or -1 with error set to the reason.
int TryConnect(const addrinfo& address, Clock::time_point deadline, int timeoutMs, int& error,
               const std::function<void()>& whileWaiting) {
    const int fd = ::socket(address.ai_family, address.ai_socktype | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = errno;
        return -1;
    }
    SetNonBlocking(fd, true);
    int result = ::connect(fd, address.ai_addr, address.ai_addrlen);
    if (result != 0 && errno == EINPROGRESS) {
        bool connected = false;
        try {
            connected = WaitInSlices([fd](int slice) { return posix::WaitFor(fd, POLLOUT, slice); },
                                     RemainingMs(deadline, timeoutMs), whileWaiting);
        } catch (...) {
            ::close(fd);
            throw;
        }
        if (!connected) {
            ::close(fd);
            error = ETIMEDOUT;
            return -1;
        }
        socklen_t length = sizeof error;
        ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length);
        result = error == 0 ? 0 : -1;
    } else if (result != 0) {
        error = errno;
    }
    if (result != 0) {
        ::close(fd);
        return -1;
    }
    SetNonBlocking(fd, false);
    return fd;
}

} // namespace

TcpSocket::TcpSocket() = default;

TcpSocket::TcpSocket(std::intptr_t handle) : handle_(handle) {}

TcpSocket::~TcpSocket() {
    Close();
}

TcpSocket::TcpSocket(TcpSocket&& other) noexcept : handle_(other.handle_) {
    other.handle_ = -1;
}

TcpSocket& TcpSocket::operator=(TcpSocket&& other) noexcept {
    if (this != &other) {
        Close();
        handle_ = other.handle_;
        other.handle_ = -1;
    }
    return *this;
}

void TcpSocket::Connect(const std::string& host, std::uint16_t port, int timeoutMs,
                        const std::function<void()>& whileWaiting) {
    Close();
    const AddressList list = LookUp(host, port);
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    int error = 0;
    for (const addrinfo* address = list.get(); address != nullptr; address = address->ai_next) {
        const int fd = TryConnect(*address, deadline, timeoutMs, error, whileWaiting);
        if (fd >= 0) {
            handle_ = fd;
            return;
        }
    }
    posix::ThrowSocketError(error == ETIMEDOUT ? SocketError::Kind::TimedOut
                                               : SocketError::Kind::Connect,
                            "Cannot connect to " + host + ":" + std::to_string(port), error);
}

bool TcpSocket::IsOpen() const {
    return handle_ >= 0;
}

void TcpSocket::SendAll(std::span<const std::byte> data) {
    if (!IsOpen()) {
        throw SocketError(SocketError::Kind::NotOpen, "Send on a closed socket");
    }
    const int fd = static_cast<int>(handle_);
    while (!data.empty()) {
        const ssize_t sent = ::send(fd, data.data(), data.size(), SendFlags);
        if (sent < 0 && errno == EINTR) {
            continue;
        }
        if (sent < 0) {
            posix::ThrowSocketError(SocketError::Kind::Send, "Send failed");
        }
        data = data.subspan(static_cast<std::size_t>(sent));
    }
}

bool TcpSocket::WaitForData(int timeoutMs) {
    if (!IsOpen()) {
        throw SocketError(SocketError::Kind::NotOpen, "Wait on a closed socket");
    }
    return posix::WaitFor(static_cast<int>(handle_), POLLIN, timeoutMs);
}

std::size_t TcpSocket::Receive(std::span<std::byte> buffer) {
    if (!IsOpen()) {
        throw SocketError(SocketError::Kind::NotOpen, "Receive on a closed socket");
    }
    for (;;) {
        const ssize_t got = ::recv(static_cast<int>(handle_), buffer.data(), buffer.size(), 0);
        if (got >= 0) {
            return static_cast<std::size_t>(got);
        }
        if (errno != EINTR) {
            posix::ThrowSocketError(SocketError::Kind::Receive, "Receive failed");
        }
    }
}

void TcpSocket::ShutdownSend() {
    if (IsOpen()) {
        ::shutdown(static_cast<int>(handle_), SHUT_WR);
    }
}

void TcpSocket::Close() {
    if (IsOpen()) {
        ::close(static_cast<int>(handle_));
        handle_ = -1;
    }
}

std::string TcpSocket::PeerAddress() const {
    return posix::AddressText(posix::PeerEnd(static_cast<int>(handle_)));
}

std::uint16_t TcpSocket::PeerPort() const {
    return ntohs(posix::PeerEnd(static_cast<int>(handle_)).sin_port);
}

std::string TcpSocket::LocalAddress() const {
    return posix::AddressText(posix::LocalEnd(static_cast<int>(handle_)));
}

std::uint16_t TcpSocket::LocalPort() const {
    return ntohs(posix::LocalEnd(static_cast<int>(handle_)).sin_port);
}

} // namespace qvs::platform
