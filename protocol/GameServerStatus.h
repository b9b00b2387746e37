// The game server's StatusQuery (TCP 7068). A frame is a 4-byte little-endian
// length m followed by m bytes: the scrambled (CStream::Encode) form of the
// body. The body's first byte tags it; there is no type field.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "protocol/CStream.h"

namespace qvs {

inline constexpr std::uint8_t StatusTag = 0x74; // the letter t
inline constexpr std::size_t GameFrameLengthSize = 4;

struct StatusReply {
    std::int32_t peopleOnline = 0;
    std::int32_t noticeMode = 0;
    std::string noticeTitle;
    std::string noticeHtml;
};

// Scrambles body and prefixes its scrambled length: the frame to send.
CStream FrameGameMessage(CStream& body);
// The length at the start of bytes (at least 4 of them). Throws ProtocolError
// for a negative length or one above MaxPayloadLength.
std::int32_t ParseGameFrameLength(std::span<const std::byte> bytes);

// The whole request frame (11 bytes).
CStream BuildStatusQuery();
// Server side: unscrambles body and tells whether it is a StatusQuery.
// Throws StreamReadError when it is too short to tell.
bool IsStatusQuery(CStream& body);

CStream BuildStatusReply(const StatusReply& reply);
// Unscrambles body (the m bytes of a reply frame) and parses it. Throws
// ProtocolError when the tag is not StatusTag, StreamReadError when the body
// is shorter than its fields.
StatusReply ParseStatusReply(CStream& body);

} // namespace qvs
