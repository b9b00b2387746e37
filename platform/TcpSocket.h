// A blocking TCP client connection over IPv4.
//
// Created unconnected; Connect looks the host up (a name or a dotted address)
// and connects within a time-out. Reads never block without bound when the
// caller waits with WaitForData first. All failures raise SocketError.
// Time-outs are in milliseconds; a negative value waits without limit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace qvs::platform {

class TcpSocket {
public:
    static constexpr int DefaultConnectTimeoutMs = 60000;

    TcpSocket();
    ~TcpSocket();
    TcpSocket(TcpSocket&& other) noexcept;
    TcpSocket& operator=(TcpSocket&& other) noexcept;
    TcpSocket(const TcpSocket&) = delete;
    TcpSocket& operator=(const TcpSocket&) = delete;

    // Closes any earlier connection first. Kind NameLookup when the host does
    // not resolve, TimedOut when timeoutMs ran out, Connect when the
    // connection was refused or failed otherwise. While the connection is
    // being made, whileWaiting (if set) is called about every 50 ms; what it
    // throws ends the attempt and reaches the caller.
    void Connect(const std::string& host, std::uint16_t port,
                 int timeoutMs = DefaultConnectTimeoutMs,
                 const std::function<void()>& whileWaiting = {});
    bool IsOpen() const;

    // Sends every byte or throws (kind Send).
    void SendAll(std::span<const std::byte> data);
    void SendAll(std::string_view data);

    // True when a Receive will not block: data has arrived, or the peer has
    // closed or reset the connection. False when timeoutMs ran out.
    bool WaitForData(int timeoutMs);

    // Up to buffer.size() bytes, blocking until some arrive; 0 when the peer
    // closed the connection in order. Throws (kind Receive) on a reset.
    std::size_t Receive(std::span<std::byte> buffer);
    std::size_t Receive(char* buffer, std::size_t size);

    // Fills the whole buffer, waiting at most waitMs for each piece. Throws
    // kind TimedOut when a wait runs out, Closed when the peer closes first.
    void ReceiveExactly(std::span<std::byte> buffer, int waitMs);

    // Ends our sending direction; the peer then reads end of stream.
    void ShutdownSend();
    // Idempotent; the destructor closes as well.
    void Close();

    // Dotted IPv4 text and port of either end; throws kind NotOpen when closed.
    std::string PeerAddress() const;
    std::uint16_t PeerPort() const;
    std::string LocalAddress() const;
    std::uint16_t LocalPort() const;

private:
    friend class TcpListener;
    explicit TcpSocket(std::intptr_t handle); // takes over an accepted connection

    std::intptr_t handle_ = -1; // a file descriptor, or a SOCKET on Windows
};

} // namespace qvs::platform
