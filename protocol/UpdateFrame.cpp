#include "protocol/UpdateFrame.h"

#include <string>

#include "protocol/ProtocolError.h"

namespace qvs {

namespace {

constexpr std::size_t lengthOffset = 4;

std::int32_t LittleEndian32(std::span<const std::byte> bytes) {
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        bits |= std::to_integer<std::uint32_t>(bytes[i]) << (8 * i);
    }
    return static_cast<std::int32_t>(bits);
}

} // namespace

CStream BeginMessage(MessageType type) {
    CStream message;
    message.WriteInt(static_cast<std::int32_t>(type));
    message.WriteInt(0);
    return message;
}

void FinishMessage(CStream& message) {
    message.SetPosition(lengthOffset);
    message.WriteInt(static_cast<std::int32_t>(message.Size() - ReplyHeaderSize));
    message.SetPosition(0);
}

MessageHeader ParseMessageHeader(std::span<const std::byte> bytes) {
    if (bytes.size() < ReplyHeaderSize) {
        throw ProtocolError("Message header cut short");
    }
    MessageHeader header;
    header.type = LittleEndian32(bytes.first(4));
    header.length = LittleEndian32(bytes.subspan(lengthOffset, 4));
    CheckPayloadLength(header.length);
    return header;
}

void CheckPayloadLength(std::int32_t length) {
    if (length < 0 || length > MaxPayloadLength) {
        throw ProtocolError("Announced payload length " + std::to_string(length) + " out of range");
    }
}

void CheckReplyType(const MessageHeader& reply, MessageType request) {
    if (reply.type != static_cast<std::int32_t>(request)) {
        throw ProtocolError("Reply type " + std::to_string(reply.type) +
                            " does not match request type " +
                            std::to_string(static_cast<std::int32_t>(request)));
    }
}

} // namespace qvs
