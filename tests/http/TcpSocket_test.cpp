// The socket layer against real loopback connections. Cut, stalled and
// piecewise replies are driven through the workers and the HTTP client.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/Socket.h"

namespace qvs::platform {
namespace {

SocketError::Kind KindOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const SocketError& error) {
        EXPECT_NE(std::string(error.what()), "");
        return error.GetKind();
    }
    ADD_FAILURE() << "no SocketError raised";
    return SocketError::Kind::NotOpen;
}

TEST(TcpSocketTest, ConnectsByNameReportsBothEndsAndWaitsForData) {
    TcpListener listener("127.0.0.1", 0);
    TcpSocket client;
    client.Connect("localhost", listener.LocalPort());
    std::optional<TcpSocket> server = listener.Accept(5000);
    ASSERT_TRUE(server);
    EXPECT_EQ(client.PeerAddress(), "127.0.0.1");
    EXPECT_EQ(client.PeerPort(), listener.LocalPort());
    EXPECT_EQ(server->PeerAddress(), "127.0.0.1");
    EXPECT_EQ(server->PeerPort(), client.LocalPort());
    EXPECT_EQ(server->LocalAddress(), "127.0.0.1");
    EXPECT_EQ(listener.LocalAddress(), "127.0.0.1");
    EXPECT_FALSE(client.WaitForData(100));
    server->SendAll("x");
    EXPECT_TRUE(client.WaitForData(5000));
}

TEST(TcpSocketTest, LargeTransferArrivesByteForByteInBothDirections) {
    const auto pattern = [](std::size_t size) {
        std::string data(size, '\0');
        for (std::size_t i = 0; i < size; ++i) {
            data[i] = static_cast<char>((i * 7919 + i / 251) & 0xFF);
        }
        return data;
    };
    TcpListener listener("127.0.0.1", 0);
    TcpSocket client;
    client.Connect("127.0.0.1", listener.LocalPort(), 5000);
    std::optional<TcpSocket> server = listener.Accept(5000);
    ASSERT_TRUE(server);
    const std::string up = pattern(6 * 1024 * 1024 + 17);
    const std::string down = pattern(3 * 1024 * 1024 + 5);
    std::string received;
    std::thread serving([&] {
        std::vector<char> buffer(65536);
        for (std::size_t got = 1; got > 0 && server->WaitForData(10000);) {
            got = server->Receive(buffer.data(), buffer.size());
            received.append(buffer.data(), got);
        }
        server->SendAll(down);
        server->Close();
    });
    client.SendAll(up);
    client.ShutdownSend(); // ends the peer's stream but keeps the other way
    std::string back(down.size(), '\0');
    client.ReceiveExactly(std::as_writable_bytes(std::span(back)), 10000);
    serving.join();
    EXPECT_TRUE(received == up) << "sizes " << received.size() << " and " << up.size();
    EXPECT_TRUE(back == down);
}

TEST(TcpSocketTest, ClosedSocketsAndUnusableListenersRefuse) {
    TcpSocket socket;
    char byte = 0;
    EXPECT_EQ(KindOf([&] { socket.SendAll("x"); }), SocketError::Kind::NotOpen);
    EXPECT_EQ(KindOf([&] { socket.Receive(&byte, 1); }), SocketError::Kind::NotOpen);
    EXPECT_EQ(KindOf([&] { socket.WaitForData(0); }), SocketError::Kind::NotOpen);
    EXPECT_EQ(KindOf([&] { (void)socket.PeerAddress(); }), SocketError::Kind::NotOpen);
    socket.Close(); // closing twice is harmless
    EXPECT_FALSE(socket.IsOpen());

    TcpListener first("127.0.0.1", 0);
    EXPECT_FALSE(first.Accept(50).has_value());
    EXPECT_EQ(KindOf([&] { TcpListener second("127.0.0.1", first.LocalPort()); }),
              SocketError::Kind::Listen);
    EXPECT_EQ(KindOf([] { TcpListener bad("300.1.2.3", 0); }), SocketError::Kind::Listen);
    EXPECT_EQ(KindOf([] { TcpListener bad("localhost", 0); }), SocketError::Kind::Listen);
    first.Close();
    EXPECT_FALSE(first.IsOpen());
    EXPECT_EQ(KindOf([&] { (void)first.Accept(0); }), SocketError::Kind::NotOpen);
}

} // namespace
} // namespace qvs::platform
