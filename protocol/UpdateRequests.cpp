#include "protocol/UpdateRequests.h"

#include "protocol/ProtocolError.h"

namespace qvs {

namespace {

CStream BuildNamedRequest(MessageType type, std::string_view name) {
    CStream message = BeginMessage(type);
    message.WriteString(name);
    FinishMessage(message);
    return message;
}

} // namespace

CStream BuildPingRequest() {
    CStream message = BeginMessage(MessageType::Ping);
    FinishMessage(message);
    return message;
}

CStream BuildGetLatestVersionRequest(std::string_view itemName) {
    return BuildNamedRequest(MessageType::GetLatestVersion, itemName);
}

CStream BuildRequestECDFileRequest(std::string_view itemName, std::int32_t version) {
    CStream message = BeginMessage(MessageType::RequestECDFile);
    message.WriteString(itemName);
    message.WriteInt(version);
    FinishMessage(message);
    return message;
}

CStream BuildGetCurrentFileVersionRequest(std::string_view fileName) {
    return BuildNamedRequest(MessageType::GetCurrentFileVersion, fileName);
}

CStream BuildDownloadWebFileRequest(std::string_view fileName) {
    return BuildNamedRequest(MessageType::DownloadWebFile, fileName);
}

UpdateRequest ParseUpdateRequest(std::int32_t type, CStream& payload) {
    UpdateRequest request;
    switch (type) {
    case static_cast<std::int32_t>(MessageType::Ping):
        break;
    case static_cast<std::int32_t>(MessageType::RequestECDFile):
        payload.ReadString(request.name);
        payload.ReadInt(request.version);
        break;
    case static_cast<std::int32_t>(MessageType::GetLatestVersion):
    case static_cast<std::int32_t>(MessageType::GetCurrentFileVersion):
    case static_cast<std::int32_t>(MessageType::DownloadWebFile):
        payload.ReadString(request.name);
        break;
    default:
        throw ProtocolError("Unknown message type " + std::to_string(type));
    }
    request.type = static_cast<MessageType>(type);
    return request;
}

} // namespace qvs
