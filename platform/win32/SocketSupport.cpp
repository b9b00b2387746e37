#include "platform/win32/SocketSupport.h"
#include "platform/win32/Utf16.h"

#include <windows.h>

#include <string>

namespace qvs::platform::win32 {

namespace {

std::string ErrorText(int error) {
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(error), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string result = length > 0 && text != nullptr
                             ? TryNarrow(std::wstring_view(text, length)).value_or(std::string())
                             : std::string();
    ::LocalFree(text);
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r' ||
                               result.back() == ' ' || result.back() == '.')) {
        result.pop_back();
    }
    return result + " (" + std::to_string(error) + ")";
}

} // namespace

void StartWinsock() {
    WSADATA data{};
    const int result = ::WSAStartup(MAKEWORD(2, 2), &data);
    if (result != 0) {
        ThrowSocketError(SocketError::Kind::NotOpen, "Winsock start-up failed", result);
    }
}

void StopWinsock() {
    ::WSACleanup();
}

void ThrowSocketError(SocketError::Kind kind, const std::string& what) {
    ThrowSocketError(kind, what, ::WSAGetLastError());
}

void ThrowSocketError(SocketError::Kind kind, const std::string& what, int error) {
    throw SocketError(kind, what + ": " + ErrorText(error));
}

bool WaitFor(SOCKET socket, bool forWrite, int timeoutMs) {
    fd_set ready;
    FD_ZERO(&ready);
    FD_SET(socket, &ready);
    fd_set failed;
    FD_ZERO(&failed);
    FD_SET(socket, &failed);
    timeval limit{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    // A failed non-blocking connect shows in the exception set, not the write set.
    const int result = ::select(0, forWrite ? nullptr : &ready, forWrite ? &ready : nullptr,
                                forWrite ? &failed : nullptr, timeoutMs < 0 ? nullptr : &limit);
    if (result == SOCKET_ERROR) {
        ThrowSocketError(SocketError::Kind::Receive, "Waiting on socket failed");
    }
    return result > 0;
}

std::string AddressText(const sockaddr_in& address) {
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &address.sin_addr, text, sizeof text);
    return text;
}

sockaddr_in LocalEnd(SOCKET socket) {
    sockaddr_in address{};
    int length = sizeof address;
    if (::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ThrowSocketError(SocketError::Kind::NotOpen, "Cannot read the local address");
    }
    return address;
}

sockaddr_in PeerEnd(SOCKET socket) {
    sockaddr_in address{};
    int length = sizeof address;
    if (::getpeername(socket, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ThrowSocketError(SocketError::Kind::NotOpen, "Cannot read the peer address");
    }
    return address;
}

} // namespace qvs::platform::win32
