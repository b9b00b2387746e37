#include "platform/LocalAddress.h"

#include "platform/win32/SocketSupport.h"

#include <array>
#include <cstring>

namespace qvs::platform {

namespace {

// One Winsock reference for the length of the lookup; none when Winsock
// cannot give exactly version 2.2.
class WinsockUse {
public:
    WinsockUse() {
        WSADATA data{};
        if (::WSAStartup(MAKEWORD(2, 2), &data) != 0) {
            return;
        }
        started_ = true;
        usable_ = LOBYTE(data.wVersion) == 2 && HIBYTE(data.wVersion) == 2;
    }
    ~WinsockUse() {
        if (started_) {
            ::WSACleanup();
        }
    }
    WinsockUse(const WinsockUse&) = delete;
    WinsockUse& operator=(const WinsockUse&) = delete;

    bool Usable() const { return usable_; }

private:
    bool started_ = false;
    bool usable_ = false;
};

// The wide functions, as a computer's name is often its first owner's and
// may hold letters outside the ANSI code page.
std::string FirstIPv4AddressOf(const wchar_t* name) {
    ADDRINFOW hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    ADDRINFOW* found = nullptr;
    if (::GetAddrInfoW(name, nullptr, &hints, &found) != 0 || found == nullptr) {
        return "";
    }
    std::string result;
    if (found->ai_addr != nullptr && found->ai_addrlen >= sizeof(sockaddr_in)) {
        sockaddr_in address{};
        std::memcpy(&address, found->ai_addr, sizeof address);
        result = win32::AddressText(address);
    }
    ::FreeAddrInfoW(found);
    return result;
}

} // namespace

std::string GetLocalIPAddress() {
    const WinsockUse winsock;
    if (!winsock.Usable()) {
        return "";
    }
    std::array<wchar_t, 256> name{};
    if (::GetHostNameW(name.data(), static_cast<int>(name.size() - 1)) != 0) {
        return "";
    }
    return FirstIPv4AddressOf(name.data());
}

} // namespace qvs::platform
