#include "platform/TcpSocket.h"

#include "platform/SlicedWait.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <memory>

#include "platform/SocketError.h"
#include "platform/win32/SocketSupport.h"

namespace qvs::platform {

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::intptr_t NoHandle = -1; // INVALID_SOCKET as a signed value

struct AddressListDeleter {
    void operator()(addrinfo* list) const { ::freeaddrinfo(list); }
};
using AddressList = std::unique_ptr<addrinfo, AddressListDeleter>;

AddressList LookUp(const std::string& host, std::uint16_t port) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    const std::string service = std::to_string(port);
    const int result = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &list);
    if (result != 0 || list == nullptr) {
        win32::ThrowSocketError(SocketError::Kind::NameLookup, "Cannot resolve host name " + host,
                                result);
    }
    return AddressList(list);
}

void SetNonBlocking(SOCKET socket, bool on) {
    u_long mode = on ? 1 : 0;
    ::ioctlsocket(socket, FIONBIO, &mode);
}

int RemainingMs(Clock::time_point deadline, int timeoutMs) {
    if (timeoutMs < 0) {
        return -1;
    }
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

SOCKET TryConnect(const addrinfo& address, Clock::time_point deadline, int timeoutMs, int& error,
                  const std::function<void()>& whileWaiting) {
    const SOCKET socket = ::socket(address.ai_family, address.ai_socktype, address.ai_protocol);
    if (socket == INVALID_SOCKET) {
        error = ::WSAGetLastError();
        return INVALID_SOCKET;
    }
    SetNonBlocking(socket, true);
    int result = ::connect(socket, address.ai_addr, static_cast<int>(address.ai_addrlen));
    if (result != 0 && ::WSAGetLastError() == WSAEWOULDBLOCK) {
        bool connected = false;
        try {
            connected =
                WaitInSlices([socket](int slice) { return win32::WaitFor(socket, true, slice); },
                             RemainingMs(deadline, timeoutMs), whileWaiting);
        } catch (...) {
            ::closesocket(socket);
            throw;
        }
        if (!connected) {
            ::closesocket(socket);
            error = WSAETIMEDOUT;
            return INVALID_SOCKET;
        }
        int length = sizeof error;
        ::getsockopt(socket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length);
        result = error == 0 ? 0 : -1;
    } else if (result != 0) {
        error = ::WSAGetLastError();
    }
    if (result != 0) {
        ::closesocket(socket);
        return INVALID_SOCKET;
    }
    SetNonBlocking(socket, false);
    return socket;
}

} // namespace

TcpSocket::TcpSocket() {
    win32::StartWinsock();
}

TcpSocket::TcpSocket(std::intptr_t handle) : handle_(handle) {
    win32::StartWinsock();
}

TcpSocket::~TcpSocket() {
    Close();
    win32::StopWinsock();
}

TcpSocket::TcpSocket(TcpSocket&& other) noexcept : handle_(other.handle_) {
    WSADATA data{};
    ::WSAStartup(MAKEWORD(2, 2), &data); // already started by other, so this cannot fail
    other.handle_ = NoHandle;
}

TcpSocket& TcpSocket::operator=(TcpSocket&& other) noexcept {
    if (this != &other) {
        Close();
        handle_ = other.handle_;
        other.handle_ = NoHandle;
    }
    return *this;
}

void TcpSocket::Connect(const std::string& host, std::uint16_t port, int timeoutMs,
                        const std::function<void()>& whileWaiting) {
    Close();
    const AddressList list = LookUp(host, port);
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    int error = 0;
    for (const addrinfo* address = list.get(); address != nullptr; address = address->ai_next) {
        const SOCKET socket = TryConnect(*address, deadline, timeoutMs, error, whileWaiting);
        if (socket != INVALID_SOCKET) {
            handle_ = win32::ToHandle(socket);
            return;
        }
    }
    win32::ThrowSocketError(error == WSAETIMEDOUT ? SocketError::Kind::TimedOut
                                                  : SocketError::Kind::Connect,
                            "Cannot connect to " + host + ":" + std::to_string(port), error);
}

bool TcpSocket::IsOpen() const {
    return handle_ != NoHandle;
}

void TcpSocket::SendAll(std::span<const std::byte> data) {
    if (!IsOpen()) {
        throw SocketError(SocketError::Kind::NotOpen, "Send on a closed socket");
    }
    while (!data.empty()) {
        const int piece = static_cast<int>(std::min<std::size_t>(data.size(), INT_MAX));
        const int sent =
            ::send(win32::ToSocket(handle_), reinterpret_cast<const char*>(data.data()), piece, 0);
        if (sent == SOCKET_ERROR) {
            win32::ThrowSocketError(SocketError::Kind::Send, "Send failed");
        }
        data = data.subspan(static_cast<std::size_t>(sent));
    }
}

bool TcpSocket::WaitForData(int timeoutMs) {
    if (!IsOpen()) {
        throw SocketError(SocketError::Kind::NotOpen, "Wait on a closed socket");
    }
    return win32::WaitFor(win32::ToSocket(handle_), false, timeoutMs);
}

std::size_t TcpSocket::Receive(std::span<std::byte> buffer) {
    if (!IsOpen()) {
        throw SocketError(SocketError::Kind::NotOpen, "Receive on a closed socket");
    }
    const int size = static_cast<int>(std::min<std::size_t>(buffer.size(), INT_MAX));
    const int got =
        ::recv(win32::ToSocket(handle_), reinterpret_cast<char*>(buffer.data()), size, 0);
    if (got == SOCKET_ERROR) {
        win32::ThrowSocketError(SocketError::Kind::Receive, "Receive failed");
    }
    return static_cast<std::size_t>(got);
}

void TcpSocket::ShutdownSend() {
    if (IsOpen()) {
        ::shutdown(win32::ToSocket(handle_), SD_SEND);
    }
}

void TcpSocket::Close() {
    if (IsOpen()) {
        ::closesocket(win32::ToSocket(handle_));
        handle_ = NoHandle;
    }
}

std::string TcpSocket::PeerAddress() const {
    return win32::AddressText(win32::PeerEnd(win32::ToSocket(handle_)));
}

std::uint16_t TcpSocket::PeerPort() const {
    return ntohs(win32::PeerEnd(win32::ToSocket(handle_)).sin_port);
}

std::string TcpSocket::LocalAddress() const {
    return win32::AddressText(win32::LocalEnd(win32::ToSocket(handle_)));
}

std::uint16_t TcpSocket::LocalPort() const {
    return ntohs(win32::LocalEnd(win32::ToSocket(handle_)).sin_port);
}

} // namespace qvs::platform
