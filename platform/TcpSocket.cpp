// The platform-independent part of TcpSocket; posix/ and win32/ hold the rest.
#include "platform/TcpSocket.h"

#include "platform/SocketError.h"

namespace qvs::platform {

void TcpSocket::SendAll(std::string_view data) {
    SendAll(std::as_bytes(std::span(data)));
}

std::size_t TcpSocket::Receive(char* buffer, std::size_t size) {
    return Receive(std::as_writable_bytes(std::span(buffer, size)));
}

void TcpSocket::ReceiveExactly(std::span<std::byte> buffer, int waitMs) {
    while (!buffer.empty()) {
        if (!WaitForData(waitMs)) {
            throw SocketError(SocketError::Kind::TimedOut,
                              "No data within " + std::to_string(waitMs) + " ms");
        }
        const std::size_t got = Receive(buffer);
        if (got == 0) {
            throw SocketError(SocketError::Kind::Closed, "Connection closed by the peer");
        }
        buffer = buffer.subspan(got);
    }
}

} // namespace qvs::platform
