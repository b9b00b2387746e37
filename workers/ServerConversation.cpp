#include "workers/ServerConversation.h"

#include <algorithm>
#include <array>
#include <vector>

#include "platform/SocketError.h"
#include "protocol/GameServerStatus.h"
#include "protocol/ProtocolError.h"

namespace qvs {

namespace {

constexpr std::size_t pieceSize = 64 * 1024;
// Reserved before the payload arrives; beyond this the buffer grows with
// what actually comes, so a length a server only announces costs nothing.
constexpr std::size_t upfrontReserve = 64 * 1024 * 1024;
// Replies other than files are a few dozen bytes: a larger announcement is a
// hostile or broken server, refused before anything is received for it.
constexpr std::int32_t MaxSmallReplyLength = 64 * 1024;

void CheckSmallReply(std::int32_t length) {
    if (length > MaxSmallReplyLength) {
        throw ProtocolError("Announced payload length " + std::to_string(length) +
                            " out of range for this reply");
    }
}

void Connect(platform::TcpSocket& socket, const std::string& host, std::uint16_t port, int waitMs) {
    socket.Connect(host, port, waitMs);
}

void Send(platform::TcpSocket& socket, const CStream& message) {
    socket.SendAll(message.View());
}

} // namespace

void ReceivePieces(platform::TcpSocket& socket, std::size_t count, int waitMs,
                   TransferProgress* progress, const PieceSink& sink) {
    std::vector<char> piece(std::min(count, pieceSize));
    std::size_t received = 0;
    while (received < count) {
        if (!socket.WaitForData(waitMs)) {
            throw platform::SocketError(platform::SocketError::Kind::TimedOut,
                                        "No reply data within the wait");
        }
        const std::size_t want = std::min(count - received, piece.size());
        const std::size_t got = socket.Receive(piece.data(), want);
        if (got == 0) {
            throw platform::SocketError(platform::SocketError::Kind::Closed,
                                        "Connection closed before the whole reply");
        }
        received += got;
        if (progress != nullptr) {
            progress->BytesReceived.store(static_cast<std::int32_t>(received));
        }
        sink(std::string_view(piece.data(), got));
    }
}

CStream ReceivePayload(platform::TcpSocket& socket, std::size_t count, int waitMs,
                       TransferProgress* progress, const PayloadObserver& observer) {
    CStream payload;
    payload.Reserve(std::min(count, upfrontReserve));
    std::size_t received = 0;
    ReceivePieces(socket, count, waitMs, progress, [&](std::string_view piece) {
        if (received <= upfrontReserve && received + piece.size() > upfrontReserve) {
            // The upfront part really arrived: room for the rest at once
            // rather than copying a large file at every growth step.
            payload.Reserve(count);
        }
        payload.Write(piece.data(), piece.size());
        received += piece.size();
        if (observer) {
            observer(payload.View());
        }
    });
    payload.SetPosition(0);
    return payload;
}

std::size_t StartUpdateServerReply(platform::TcpSocket& socket, const std::string& host,
                                   std::uint16_t port, const CStream& request, MessageType type,
                                   int waitMs, TransferProgress* progress) {
    Connect(socket, host, port, waitMs);
    Send(socket, request);
    std::array<std::byte, ReplyHeaderSize> header{};
    socket.ReceiveExactly(header, waitMs);
    const MessageHeader reply = ParseMessageHeader(header);
    if (type != MessageType::RequestECDFile && type != MessageType::DownloadWebFile) {
        CheckSmallReply(reply.length);
    }
    // Before any of the payload is taken: a file's bytes may go to disk.
    CheckReplyType(reply, type);
    if (progress != nullptr) {
        progress->BytesTotal.store(reply.length);
    }
    return static_cast<std::size_t>(reply.length);
}

CStream RunUpdateServerConversation(platform::TcpSocket& socket, const std::string& host,
                                    std::uint16_t port, const CStream& request, MessageType type,
                                    int waitMs, TransferProgress* progress,
                                    const PayloadObserver& observer) {
    const std::size_t length =
        StartUpdateServerReply(socket, host, port, request, type, waitMs, progress);
    return ReceivePayload(socket, length, waitMs, progress, observer);
}

CStream RunGameServerConversation(platform::TcpSocket& socket, const std::string& host,
                                  std::uint16_t port, const CStream& requestFrame, int waitMs) {
    Connect(socket, host, port, waitMs);
    Send(socket, requestFrame);
    std::array<std::byte, GameFrameLengthSize> length{};
    socket.ReceiveExactly(length, waitMs);
    const std::int32_t bodyLength = ParseGameFrameLength(length);
    CheckSmallReply(bodyLength);
    return ReceivePayload(socket, static_cast<std::size_t>(bodyLength), waitMs);
}

} // namespace qvs
