// One request on a fresh loopback connection, and everything the peer sends
// back until it closes: for talking to HTTP/1.0 servers byte for byte.
#pragma once

#include <cstdint>
#include <string>

#include "platform/TcpSocket.h"

namespace qvs::test {

// halfClose ends our sending side after the request, as a client that sent
// a cut-short request and gave up would.
inline std::string RawExchange(std::uint16_t port, const std::string& request,
                               bool halfClose = false, int waitMs = 10000) {
    platform::TcpSocket socket;
    socket.Connect("127.0.0.1", port, 5000);
    socket.SendAll(request);
    if (halfClose) {
        socket.ShutdownSend();
    }
    std::string reply;
    char buffer[65536];
    while (socket.WaitForData(waitMs)) {
        const std::size_t count = socket.Receive(buffer, sizeof buffer);
        if (count == 0) {
            break;
        }
        reply.append(buffer, count);
    }
    return reply;
}

} // namespace qvs::test
