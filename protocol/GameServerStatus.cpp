#include "protocol/GameServerStatus.h"

#include "protocol/ProtocolError.h"
#include "protocol/UpdateFrame.h"

namespace qvs {

CStream FrameGameMessage(CStream& body) {
    body.Encode();
    CStream frame;
    frame.WriteInt(static_cast<std::int32_t>(body.Size()));
    frame.Write(body.Data(), body.Size());
    frame.SetPosition(0);
    return frame;
}

std::int32_t ParseGameFrameLength(std::span<const std::byte> bytes) {
    if (bytes.size() < GameFrameLengthSize) {
        throw ProtocolError("Frame length cut short");
    }
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < GameFrameLengthSize; ++i) {
        bits |= std::to_integer<std::uint32_t>(bytes[i]) << (8 * i);
    }
    const auto length = static_cast<std::int32_t>(bits);
    CheckPayloadLength(length);
    return length;
}

CStream BuildStatusQuery() {
    CStream body;
    body.WriteInt(0);
    body.WriteByte(StatusTag);
    return FrameGameMessage(body);
}

bool IsStatusQuery(CStream& body) {
    body.Decode();
    std::int32_t zero = 0;
    std::uint8_t tag = 0;
    body.ReadInt(zero);
    body.ReadByte(tag);
    return zero == 0 && tag == StatusTag;
}

CStream BuildStatusReply(const StatusReply& reply) {
    CStream body;
    body.WriteByte(StatusTag);
    body.WriteInt(reply.peopleOnline);
    body.WriteInt(reply.noticeMode);
    body.WriteString(reply.noticeTitle);
    body.WriteString(reply.noticeHtml);
    return FrameGameMessage(body);
}

StatusReply ParseStatusReply(CStream& body) {
    body.Decode();
    std::uint8_t tag = 0;
    body.ReadByte(tag);
    if (tag != StatusTag) {
        throw ProtocolError("Status reply tag " + std::to_string(tag) + " is not " +
                            std::to_string(StatusTag));
    }
    StatusReply reply;
    body.ReadInt(reply.peopleOnline);
    body.ReadInt(reply.noticeMode);
    body.ReadString(reply.noticeTitle);
    body.ReadString(reply.noticeHtml);
    return reply;
}

} // namespace qvs
