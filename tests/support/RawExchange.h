// One request on a fresh loopback connection, and everything the peer sends
// back until it closes: for talking to servers byte for byte. halfClose ends
// our sending side, as a client that sent a cut-short request and gave up
// would.
#pragma once

#include <cstdint>
#include <string>

#include "platform/TcpSocket.h"

namespace qvs::test {

inline std::string RawExchange(std::uint16_t port, const std::string& request,
                               bool halfClose = false) {
    platform::TcpSocket socket;
    socket.Connect("127.0.0.1", port, 5000);
    socket.SendAll(request);
    if (halfClose) {
        socket.ShutdownSend();
    }
    std::string reply;
    char buffer[65536];
    for (std::size_t count = 1; count > 0 && socket.WaitForData(10000);) {
        count = socket.Receive(buffer, sizeof buffer);
        reply.append(buffer, count);
    }
    return reply;
}

} // namespace qvs::test
