#include "protocol/UpdateReplies.h"

#include "protocol/UpdateFrame.h"

namespace qvs {

CStream BuildPingReply(std::string_view observedAddress) {
    CStream message = BeginMessage(MessageType::Ping);
    message.WriteString(observedAddress);
    FinishMessage(message);
    return message;
}

CStream BuildGetLatestVersionReply(std::string_view itemName, std::int32_t version) {
    CStream message = BeginMessage(MessageType::GetLatestVersion);
    message.WriteString(itemName);
    message.WriteInt(version);
    FinishMessage(message);
    return message;
}

CStream BuildRequestECDFileReply(std::string_view itemName, std::int32_t version,
                                 std::string_view fileName, std::string_view file) {
    CStream message = BeginMessage(MessageType::RequestECDFile);
    message.WriteString(itemName);
    message.WriteInt(version);
    message.WriteString(fileName);
    message.WriteInt(static_cast<std::int32_t>(file.size()));
    message.Write(file.data(), file.size());
    FinishMessage(message);
    return message;
}

CStream BuildGetCurrentFileVersionReply(const platform::FileVersion& version) {
    CStream message = BeginMessage(MessageType::GetCurrentFileVersion);
    message.WriteInt(version.major);
    message.WriteInt(version.minor);
    message.WriteInt(version.release);
    message.WriteInt(version.build);
    FinishMessage(message);
    return message;
}

CStream BuildDownloadWebFileReply(std::string_view executable) {
    CStream message = BeginMessage(MessageType::DownloadWebFile);
    message.Write(executable.data(), executable.size());
    FinishMessage(message);
    return message;
}

std::string ParsePingReply(CStream& payload) {
    std::string address;
    payload.ReadString(address);
    return address;
}

LatestVersionReply ParseGetLatestVersionReply(CStream& payload) {
    LatestVersionReply reply;
    payload.ReadString(reply.itemName);
    payload.ReadInt(reply.version);
    return reply;
}

ECDFileReply ParseRequestECDFileReply(CStream& payload) {
    ECDFileReply reply;
    payload.ReadString(reply.itemName);
    payload.ReadInt(reply.version);
    payload.ReadString(reply.fileName);
    std::int32_t length = 0;
    payload.ReadInt(length);
    if (length < 0 || static_cast<std::size_t>(length) > payload.Remaining()) {
        throw StreamReadError();
    }
    // CopyFrom reads a count of 0 as "everything": an empty file copies nothing.
    if (length > 0) {
        reply.file.CopyFrom(payload, static_cast<std::size_t>(length));
    }
    reply.file.SetPosition(0);
    return reply;
}

std::optional<std::size_t> ECDFileReplyFileStart(std::string_view received) {
    // Item name and file name end in a zero byte; version and length are four bytes.
    const std::size_t nameEnd = received.find('\0');
    const std::size_t fileNameEnd =
        nameEnd == std::string_view::npos ? nameEnd : received.find('\0', nameEnd + 5);
    if (fileNameEnd == std::string_view::npos || fileNameEnd + 5 > received.size()) {
        return std::nullopt;
    }
    return fileNameEnd + 5;
}

platform::FileVersion ParseGetCurrentFileVersionReply(CStream& payload) {
    platform::FileVersion version;
    payload.ReadInt(version.major);
    payload.ReadInt(version.minor);
    payload.ReadInt(version.release);
    payload.ReadInt(version.build);
    return version;
}

} // namespace qvs
