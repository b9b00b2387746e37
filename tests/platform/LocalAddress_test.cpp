#include "platform/LocalAddress.h"

#include "platform/TcpListener.h"
#include "platform/TcpSocket.h"

#include <gtest/gtest.h>

#include <string>

namespace qvs::platform {
namespace {

// Only an address of one of our own interfaces can be listened on and is
// seen as the peer of a connection made to it.
TEST(LocalAddressTest, IsAnAddressOfThisMachine) {
    const std::string address = GetLocalIPAddress();
    if (address.empty()) {
        GTEST_SKIP() << "the host name does not resolve here";
    }
    TcpListener listener(address, 0);
    TcpSocket client;
    client.Connect(address, listener.LocalPort(), 5000);
    const auto accepted = listener.Accept(5000);
    ASSERT_TRUE(accepted.has_value());
    EXPECT_EQ(accepted->PeerAddress(), address);
    EXPECT_EQ(GetLocalIPAddress(), address);
}

} // namespace
} // namespace qvs::platform
