#include "platform/TcpListener.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include "platform/SocketError.h"
#include "platform/win32/SocketSupport.h"

namespace qvs::platform {

namespace {

constexpr std::intptr_t NoHandle = -1;

sockaddr_in ParseBindAddress(const std::string& address, std::uint16_t port) {
    sockaddr_in end{};
    end.sin_family = AF_INET;
    end.sin_port = htons(port);
    const std::string text = address.empty() ? "0.0.0.0" : address;
    if (::inet_pton(AF_INET, text.c_str(), &end.sin_addr) != 1) {
        throw SocketError(SocketError::Kind::Listen, "Not an IPv4 address: " + address);
    }
    return end;
}

} // namespace

TcpListener::TcpListener(const std::string& address, std::uint16_t port, int backlog) {
    win32::StartWinsock();
    try {
        const sockaddr_in end = ParseBindAddress(address, port);
        const SOCKET socket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (socket == INVALID_SOCKET) {
            win32::ThrowSocketError(SocketError::Kind::Listen, "Cannot create a socket");
        }
        handle_ = win32::ToHandle(socket);
        // Without this another process could bind the same port beside us.
        const BOOL on = TRUE;
        ::setsockopt(socket, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&on),
                     sizeof on);
        const std::string where = address + ":" + std::to_string(port);
        if (::bind(socket, reinterpret_cast<const sockaddr*>(&end), sizeof end) != 0) {
            win32::ThrowSocketError(SocketError::Kind::Listen, "Cannot bind " + where);
        }
        if (::listen(socket, backlog) != 0) {
            win32::ThrowSocketError(SocketError::Kind::Listen, "Cannot listen on " + where);
        }
    } catch (...) {
        Close();
        win32::StopWinsock();
        throw;
    }
}

TcpListener::~TcpListener() {
    Close();
    win32::StopWinsock();
}

TcpListener::TcpListener(TcpListener&& other) noexcept : handle_(other.handle_) {
    WSADATA data{};
    ::WSAStartup(MAKEWORD(2, 2), &data); // already started by other, so this cannot fail
    other.handle_ = NoHandle;
}

TcpListener& TcpListener::operator=(TcpListener&& other) noexcept {
    if (this != &other) {
        Close();
        handle_ = other.handle_;
        other.handle_ = NoHandle;
    }
    return *this;
}

std::optional<TcpSocket> TcpListener::Accept(int timeoutMs) {
    if (!IsOpen()) {
        throw SocketError(SocketError::Kind::NotOpen, "Accept on a closed listener");
    }
    if (!win32::WaitFor(win32::ToSocket(handle_), false, timeoutMs)) {
        return std::nullopt;
    }
    const SOCKET client = ::accept(win32::ToSocket(handle_), nullptr, nullptr);
    if (client != INVALID_SOCKET) {
        return TcpSocket(win32::ToHandle(client));
    }
    const int error = ::WSAGetLastError();
    if (error == WSAECONNRESET || error == WSAEWOULDBLOCK) {
        return std::nullopt; // the client gave up between the wait and the accept
    }
    win32::ThrowSocketError(SocketError::Kind::Accept, "Accept failed", error);
}

std::uint16_t TcpListener::LocalPort() const {
    return ntohs(win32::LocalEnd(win32::ToSocket(handle_)).sin_port);
}

std::string TcpListener::LocalAddress() const {
    return win32::AddressText(win32::LocalEnd(win32::ToSocket(handle_)));
}

bool TcpListener::IsOpen() const {
    return handle_ != NoHandle;
}

void TcpListener::Close() {
    if (IsOpen()) {
        ::closesocket(win32::ToSocket(handle_));
        handle_ = NoHandle;
    }
}

} // namespace qvs::platform
