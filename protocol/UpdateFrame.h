// Framing of the update server protocol (TCP 7070). Every message, request
// or reply, is an 8-byte header (type, payload length; 32-bit little-endian)
// followed by the payload fields of its type.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "protocol/CStream.h"

namespace qvs {

enum class MessageType : std::int32_t {
    Ping = 0,
    GetLatestVersion = 1,
    RequestECDFile = 2,
    GetCurrentFileVersion = 3,
    DownloadWebFile = 4,
};

inline constexpr std::uint16_t UpdateServerPort = 7070;
inline constexpr std::uint16_t GameServerPort = 7068;
inline constexpr std::size_t ReplyHeaderSize = 8;
inline constexpr int WaitForDataMs = 60000;
// The servers trust nobody's lengths and neither do we: a larger announced
// payload fails the request before anything is reserved for it.
inline constexpr std::int32_t MaxPayloadLength = 1 << 30;

struct MessageHeader {
    std::int32_t type = 0; // kept raw: a server may answer with any value
    std::int32_t length = 0;
};

// A new message holding the type and a length placeholder; write the payload
// fields after it, then call FinishMessage.
CStream BeginMessage(MessageType type);
// Writes the payload length into the header and rewinds to position 0.
void FinishMessage(CStream& message);

// The header at the start of bytes (at least ReplyHeaderSize of them).
// Throws ProtocolError for a negative length or one above MaxPayloadLength.
MessageHeader ParseMessageHeader(std::span<const std::byte> bytes);
// Throws ProtocolError unless length lies in 0..MaxPayloadLength.
void CheckPayloadLength(std::int32_t length);
// Throws ProtocolError when a reply's type differs from the request's.
void CheckReplyType(const MessageHeader& reply, MessageType request);

} // namespace qvs
