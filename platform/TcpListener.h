// A listening IPv4 TCP socket for our servers and tests.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/TcpSocket.h"

namespace qvs::platform {

class TcpListener {
public:
    // Binds address ("" or "0.0.0.0" for every interface, otherwise a dotted
    // address) and port (0 picks a free one) and starts listening. Throws
    // SocketError (kind Listen) when the port is taken or the address is bad.
    TcpListener(const std::string& address, std::uint16_t port, int backlog = 64);
    ~TcpListener();
    TcpListener(TcpListener&& other) noexcept;
    TcpListener& operator=(TcpListener&& other) noexcept;
    TcpListener(const TcpListener&) = delete;
    TcpListener& operator=(const TcpListener&) = delete;

    // The next connection, or nothing when none arrived within timeoutMs
    // (negative: wait without limit), so a server loop can check for a stop.
    std::optional<TcpSocket> Accept(int timeoutMs);

    std::uint16_t LocalPort() const;
    std::string LocalAddress() const;
    bool IsOpen() const;
    void Close();

private:
    std::intptr_t handle_ = -1;
};

} // namespace qvs::platform
