#include "platform/LocalAddress.h"

#include "platform/posix/SocketSupport.h"

#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cstring>

namespace qvs::platform {

std::string GetLocalIPAddress() {
    std::array<char, 256> name{};
    if (::gethostname(name.data(), name.size() - 1) != 0) {
        return "";
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(name.data(), nullptr, &hints, &found) != 0 || found == nullptr) {
        return "";
    }
    std::string result;
    if (found->ai_addr != nullptr && found->ai_addrlen >= sizeof(sockaddr_in)) {
        sockaddr_in address{};
        std::memcpy(&address, found->ai_addr, sizeof address);
        result = posix::AddressText(address);
    }
    ::freeaddrinfo(found);
    return result;
}

} // namespace qvs::platform
