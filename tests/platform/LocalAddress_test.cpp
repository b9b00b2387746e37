#include "platform/LocalAddress.h"

#include "platform/TcpListener.h"
#include "platform/TcpSocket.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace qvs::platform {
namespace {

// Four decimal numbers of 0 to 255 separated by dots, nothing else.
bool IsDottedQuad(const std::string& text) {
    std::istringstream in(text);
    for (int part = 0; part < 4; ++part) {
        int number = -1;
        if (!(in >> number) || number < 0 || number > 255) {
            return false;
        }
        if (part < 3 && in.get() != '.') {
            return false;
        }
    }
    return in.peek() == std::char_traits<char>::eof();
}

TEST(LocalAddressTest, IsDottedQuadOrEmpty) {
    const std::string address = GetLocalIPAddress();
    EXPECT_TRUE(address.empty() || IsDottedQuad(address)) << address;
}

TEST(LocalAddressTest, IsAnAddressOfThisMachine) {
    const std::string address = GetLocalIPAddress();
    if (address.empty()) {
        GTEST_SKIP() << "the host name does not resolve here";
    }
    // Only an address of one of our own interfaces can be listened on.
    TcpListener listener(address, 0);
    TcpSocket client;
    client.Connect(address, listener.LocalPort(), 5000);
    const auto accepted = listener.Accept(5000);
    ASSERT_TRUE(accepted.has_value());
    EXPECT_EQ(accepted->PeerAddress(), address);
}

TEST(LocalAddressTest, RepeatedLookupsAgree) {
    const std::string first = GetLocalIPAddress();
    for (int i = 0; i < 20; ++i) {
        ASSERT_EQ(GetLocalIPAddress(), first);
    }
}

} // namespace
} // namespace qvs::platform
