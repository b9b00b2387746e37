// Helpers shared by the Winsock socket classes.
#pragma once

#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstdint>
#include <string>

#include "platform/SocketError.h"

namespace qvs::platform::win32 {

// Each socket object holds one Winsock reference from construction to
// destruction; Winsock counts them, so no process-wide start-up is needed.
void StartWinsock();
void StopWinsock();

[[noreturn]] void ThrowSocketError(SocketError::Kind kind, const std::string& what);
[[noreturn]] void ThrowSocketError(SocketError::Kind kind, const std::string& what, int error);

// Waits until the socket is readable (forWrite false) or connected or failed
// (forWrite true); false when timeoutMs ran out (negative: no limit).
bool WaitFor(SOCKET socket, bool forWrite, int timeoutMs);

std::string AddressText(const sockaddr_in& address);
sockaddr_in LocalEnd(SOCKET socket);
sockaddr_in PeerEnd(SOCKET socket);

inline SOCKET ToSocket(std::intptr_t handle) {
    return static_cast<SOCKET>(handle);
}
inline std::intptr_t ToHandle(SOCKET socket) {
    return static_cast<std::intptr_t>(socket);
}

} // namespace qvs::platform::win32
