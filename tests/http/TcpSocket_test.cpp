// The socket layer against real loopback connections.
#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <thread>
#include <vector>

#include "platform/Socket.h"

namespace qvs::platform {
namespace {

std::string Pattern(std::size_t size) {
    std::string data(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        data[i] = static_cast<char>((i * 7919 + i / 251) & 0xFF);
    }
    return data;
}

// A connected pair over loopback.
struct Pair {
    TcpListener listener{"127.0.0.1", 0};
    TcpSocket client;
    TcpSocket server;

    Pair() {
        client.Connect("127.0.0.1", listener.LocalPort(), 5000);
        std::optional<TcpSocket> accepted = listener.Accept(5000);
        if (accepted) {
            server = std::move(*accepted);
        }
    }
};

std::string ReceiveUntilClosed(TcpSocket& socket) {
    std::string data;
    std::vector<char> buffer(65536);
    while (socket.WaitForData(10000)) {
        const std::size_t got = socket.Receive(buffer.data(), buffer.size());
        if (got == 0) {
            break;
        }
        data.append(buffer.data(), got);
    }
    return data;
}

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

TEST(TcpSocketTest, ConnectToClosedPortIsRefused) {
    std::uint16_t port = 0;
    {
        TcpListener listener("127.0.0.1", 0);
        port = listener.LocalPort();
    }
    TcpSocket socket;
    EXPECT_EQ(KindOf([&] { socket.Connect("127.0.0.1", port, 5000); }), SocketError::Kind::Connect);
    EXPECT_FALSE(socket.IsOpen());
}

TEST(TcpSocketTest, UnknownHostFailsTheNameLookup) {
    TcpSocket socket;
    EXPECT_EQ(KindOf([&] { socket.Connect("no-such-host.invalid", 80, 5000); }),
              SocketError::Kind::NameLookup);
}

TEST(TcpSocketTest, ConnectsByNameAndReportsBothEnds) {
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
}

TEST(TcpSocketTest, WaitForDataRunsOutWhenNothingIsSent) {
    Pair pair;
    ASSERT_TRUE(pair.server.IsOpen());
    EXPECT_FALSE(pair.client.WaitForData(100));
    pair.server.SendAll("x");
    EXPECT_TRUE(pair.client.WaitForData(5000));
}

TEST(TcpSocketTest, OrderlyCloseReadsAsZeroAfterTheData) {
    Pair pair;
    pair.server.SendAll(std::string("abc\0def", 7));
    pair.server.Close();
    EXPECT_EQ(ReceiveUntilClosed(pair.client), std::string("abc\0def", 7));
    ASSERT_TRUE(pair.client.WaitForData(1000)); // end of stream counts as readable
    char byte = 0;
    EXPECT_EQ(pair.client.Receive(&byte, 1), 0u);
}

TEST(TcpSocketTest, ShutdownSendEndsThePeersStreamButKeepsTheOtherWay) {
    Pair pair;
    pair.client.SendAll("request");
    pair.client.ShutdownSend();
    EXPECT_EQ(ReceiveUntilClosed(pair.server), "request");
    pair.server.SendAll("reply");
    pair.server.Close();
    EXPECT_EQ(ReceiveUntilClosed(pair.client), "reply");
}

TEST(TcpSocketTest, LargeTransferArrivesByteForByteInBothDirections) {
    Pair pair;
    const std::string up = Pattern(6 * 1024 * 1024 + 17);
    const std::string down = Pattern(3 * 1024 * 1024 + 5);
    std::string received;
    std::thread server([&] {
        received = ReceiveUntilClosed(pair.server);
        pair.server.SendAll(down);
        pair.server.Close();
    });
    pair.client.SendAll(up);
    pair.client.ShutdownSend();
    std::string back(down.size(), '\0');
    pair.client.ReceiveExactly(std::as_writable_bytes(std::span(back)), 10000);
    server.join();
    EXPECT_TRUE(received == up) << "sizes " << received.size() << " and " << up.size();
    EXPECT_TRUE(back == down);
}

TEST(TcpSocketTest, ReceiveExactlyFailsWhenThePeerClosesEarly) {
    Pair pair;
    pair.server.SendAll("1234567");
    pair.server.Close();
    std::byte header[8];
    EXPECT_EQ(KindOf([&] { pair.client.ReceiveExactly(header, 5000); }), SocketError::Kind::Closed);
}

TEST(TcpSocketTest, ReceiveExactlyFailsWhenThePeerStalls) {
    Pair pair;
    pair.server.SendAll("1234");
    std::byte header[8];
    EXPECT_EQ(KindOf([&] { pair.client.ReceiveExactly(header, 200); }),
              SocketError::Kind::TimedOut);
}

TEST(TcpSocketTest, ReceiveExactlyAssemblesPieces) {
    Pair pair;
    std::thread server([&] {
        for (const char* piece : {"12", "345", "678"}) {
            pair.server.SendAll(piece);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
    std::string data(8, '\0');
    pair.client.ReceiveExactly(std::as_writable_bytes(std::span(data)), 5000);
    server.join();
    EXPECT_EQ(data, "12345678");
}

TEST(TcpSocketTest, ClosedSocketRefusesEveryOperation) {
    TcpSocket socket;
    char byte = 0;
    EXPECT_EQ(KindOf([&] { socket.SendAll("x"); }), SocketError::Kind::NotOpen);
    EXPECT_EQ(KindOf([&] { socket.Receive(&byte, 1); }), SocketError::Kind::NotOpen);
    EXPECT_EQ(KindOf([&] { socket.WaitForData(0); }), SocketError::Kind::NotOpen);
    EXPECT_EQ(KindOf([&] { (void)socket.PeerAddress(); }), SocketError::Kind::NotOpen);
    socket.Close(); // closing twice is harmless
    EXPECT_FALSE(socket.IsOpen());
}

TEST(TcpSocketTest, MovedSocketKeepsTheConnection) {
    Pair pair;
    TcpSocket moved = std::move(pair.client);
    EXPECT_FALSE(pair.client.IsOpen());
    pair.server.SendAll("hi");
    pair.server.Close();
    EXPECT_EQ(ReceiveUntilClosed(moved), "hi");
}

TEST(TcpListenerTest, AcceptReturnsNothingWhenNobodyConnects) {
    TcpListener listener("127.0.0.1", 0);
    EXPECT_NE(listener.LocalPort(), 0);
    EXPECT_FALSE(listener.Accept(50).has_value());
}

TEST(TcpListenerTest, RefusesATakenPortAndABadAddress) {
    TcpListener first("127.0.0.1", 0);
    EXPECT_EQ(KindOf([&] { TcpListener second("127.0.0.1", first.LocalPort()); }),
              SocketError::Kind::Listen);
    EXPECT_EQ(KindOf([] { TcpListener bad("300.1.2.3", 0); }), SocketError::Kind::Listen);
    EXPECT_EQ(KindOf([] { TcpListener bad("localhost", 0); }), SocketError::Kind::Listen);
}

TEST(TcpListenerTest, ClosedListenerRefusesAccept) {
    TcpListener listener("127.0.0.1", 0);
    listener.Close();
    EXPECT_FALSE(listener.IsOpen());
    EXPECT_EQ(KindOf([&] { (void)listener.Accept(0); }), SocketError::Kind::NotOpen);
}

} // namespace
} // namespace qvs::platform
