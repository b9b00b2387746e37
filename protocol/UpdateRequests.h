// Requests of the update server protocol: the launcher builds them, the
// update server parses them. Each builder returns the whole message, header
// included, positioned at 0 and ready to send.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "protocol/CStream.h"
#include "protocol/UpdateFrame.h"

namespace qvs {

CStream BuildPingRequest();
CStream BuildGetLatestVersionRequest(std::string_view itemName);
CStream BuildRequestECDFileRequest(std::string_view itemName, std::int32_t version);
CStream BuildGetCurrentFileVersionRequest(std::string_view fileName);
CStream BuildDownloadWebFileRequest(std::string_view fileName);

// The fields a request of any type carries; unused ones stay empty or 0.
struct UpdateRequest {
    MessageType type = MessageType::Ping;
    std::string name; // item name or file name
    std::int32_t version = 0;
};

// Parses a request payload (positioned at its start) of the type named in
// its header. Throws ProtocolError for an unknown type and StreamReadError
// when the payload is shorter than its fields.
UpdateRequest ParseUpdateRequest(std::int32_t type, CStream& payload);

} // namespace qvs
