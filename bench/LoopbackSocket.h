// A TCP connection to 127.0.0.1 from a chosen loopback source address, so
// load spread over 127.x.y.z stays under a server's per-address cap. Blocking
// with a time limit on every call, or non-blocking for connections that are
// only held.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qvs::bench {

class LoopbackSocket {
public:
    // Throws std::runtime_error when the connection fails (blocking only).
    LoopbackSocket(const std::string& source, std::uint16_t port, bool blocking = true);
    LoopbackSocket(LoopbackSocket&& other) noexcept;
    LoopbackSocket& operator=(LoopbackSocket&& other) noexcept;
    LoopbackSocket(const LoopbackSocket&) = delete;
    LoopbackSocket& operator=(const LoopbackSocket&) = delete;
    ~LoopbackSocket();

    int Descriptor() const { return fd_; }
    void Send(std::string_view bytes);
    // Exactly count bytes; throws when the peer closes first or stalls.
    std::string Receive(std::size_t count);
    // Reads until the peer closes; returns how many bytes came and keeps the
    // first ones (up to 1 KiB) in head.
    std::size_t ReceiveAll(std::string& head);

private:
    int fd_ = -1;
};

// "127.<network>.<host / 250>.<host % 250 + 1>": distinct loopback addresses.
std::string LoopbackAddress(int network, int host);

} // namespace qvs::bench
