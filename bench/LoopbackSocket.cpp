#include "LoopbackSocket.h"

#include <algorithm>
#include <cerrno>
#include <stdexcept>
#include <utility>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace qvs::bench {

namespace {

constexpr int WaitSeconds = 30;

sockaddr_in Address(const std::string& text, std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    ::inet_pton(AF_INET, text.c_str(), &address.sin_addr);
    return address;
}

[[noreturn]] void Fail(const char* what) {
    throw std::runtime_error(std::string(what) + ": " + std::to_string(errno));
}

} // namespace

LoopbackSocket::LoopbackSocket(const std::string& source, std::uint16_t port, bool blocking)
    : fd_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | (blocking ? 0 : SOCK_NONBLOCK), 0)) {
    if (fd_ < 0) {
        Fail("socket");
    }
    const int one = 1;
    ::setsockopt(fd_, IPPROTO_IP, IP_BIND_ADDRESS_NO_PORT, &one, sizeof one);
    const timeval wait{WaitSeconds, 0};
    ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    ::setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &wait, sizeof wait);
    const sockaddr_in local = Address(source, 0);
    const sockaddr_in remote = Address("127.0.0.1", port);
    if (::bind(fd_, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        ::close(fd_);
        Fail("bind");
    }
    if (::connect(fd_, reinterpret_cast<const sockaddr*>(&remote), sizeof remote) != 0 &&
        (blocking || errno != EINPROGRESS)) {
        ::close(fd_);
        Fail("connect");
    }
}

LoopbackSocket::LoopbackSocket(LoopbackSocket&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)) {}

LoopbackSocket& LoopbackSocket::operator=(LoopbackSocket&& other) noexcept {
    std::swap(fd_, other.fd_);
    return *this;
}

LoopbackSocket::~LoopbackSocket() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

void LoopbackSocket::Send(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t sent = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent <= 0) {
            Fail("send");
        }
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
}

std::string LoopbackSocket::Receive(std::size_t count) {
    std::string bytes(count, '\0');
    std::size_t received = 0;
    while (received < count) {
        const ssize_t got = ::recv(fd_, bytes.data() + received, count - received, 0);
        if (got <= 0) {
            Fail(got == 0 ? "closed early" : "recv");
        }
        received += static_cast<std::size_t>(got);
    }
    return bytes;
}

std::size_t LoopbackSocket::ReceiveAll(std::string& head) {
    constexpr std::size_t HeadSize = 1024;
    char buffer[65536];
    std::size_t total = 0;
    for (;;) {
        const ssize_t got = ::recv(fd_, buffer, sizeof buffer, 0);
        if (got < 0) {
            Fail("recv");
        }
        if (got == 0) {
            return total;
        }
        if (head.size() < HeadSize) {
            head.append(buffer, std::min(static_cast<std::size_t>(got), HeadSize - head.size()));
        }
        total += static_cast<std::size_t>(got);
    }
}

std::string LoopbackAddress(int network, int host) {
    return "127." + std::to_string(network) + "." + std::to_string(host / 250) + "." +
           std::to_string(host % 250 + 1);
}

} // namespace qvs::bench
