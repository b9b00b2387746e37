// The blocking conversations of the workers with the update server and the
// game server: connect, send one request, receive one whole reply. Every
// failure throws (SocketError, ProtocolError, StreamReadError); the worker
// frame turns it into WorkerFailed.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/TcpSocket.h"
#include "protocol/CStream.h"
#include "protocol/UpdateFrame.h"

namespace qvs {

// Progress of a reply payload, read by the owner while the worker runs.
struct TransferProgress {
    std::atomic<std::int32_t> BytesTotal{0};
    std::atomic<std::int32_t> BytesReceived{0};
};

// Called after each piece with the whole payload received so far.
using PayloadObserver = std::function<void(std::string_view received)>;

// Receives exactly count bytes, waiting at most waitMs for each piece; no
// limit on the total time. Up to 64 MiB are reserved at once; a larger
// payload's memory grows with what arrives, not with what was announced.
CStream ReceivePayload(platform::TcpSocket& socket, std::size_t count, int waitMs,
                       TransferProgress* progress = nullptr,
                       const PayloadObserver& observer = nullptr);

// Hands each piece of a payload of exactly count bytes to sink as it
// arrives, waiting at most waitMs for each piece; nothing is kept.
using PieceSink = std::function<void(std::string_view piece)>;
void ReceivePieces(platform::TcpSocket& socket, std::size_t count, int waitMs,
                   TransferProgress* progress, const PieceSink& sink);

// Connects, sends request (a whole message of the given type) and reads the
// reply's header: returns the payload's length once the type is checked,
// leaving the payload to be received.
std::size_t StartUpdateServerReply(platform::TcpSocket& socket, const std::string& host,
                                   std::uint16_t port, const CStream& request, MessageType type,
                                   int waitMs, TransferProgress* progress = nullptr);

// Connects, sends request (a whole message of the given type) and returns
// the reply payload positioned at 0, after checking the reply's type.
CStream RunUpdateServerConversation(platform::TcpSocket& socket, const std::string& host,
                                    std::uint16_t port, const CStream& request, MessageType type,
                                    int waitMs, TransferProgress* progress = nullptr,
                                    const PayloadObserver& observer = nullptr);

// Connects, sends requestFrame (length and scrambled body) and returns the
// reply's scrambled body, positioned at 0.
CStream RunGameServerConversation(platform::TcpSocket& socket, const std::string& host,
                                  std::uint16_t port, const CStream& requestFrame, int waitMs);

} // namespace qvs
