// Replies of the update server protocol: the update server builds them, the
// launcher's workers parse their payloads. Builders return the whole message,
// header included, positioned at 0. Parsers take the payload alone,
// positioned at its start, and throw StreamReadError when it is shorter than
// its fields.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/FileVersion.h"
#include "protocol/CStream.h"

namespace qvs {

struct LatestVersionReply {
    std::string itemName;
    std::int32_t version = 0;
};

struct ECDFileReply {
    std::string itemName;
    std::int32_t version = 0;
    std::string fileName;
    CStream file; // the .ecd file as stored on the server, positioned at 0
};

CStream BuildPingReply(std::string_view observedAddress);
CStream BuildGetLatestVersionReply(std::string_view itemName, std::int32_t version);
CStream BuildRequestECDFileReply(std::string_view itemName, std::int32_t version,
                                 std::string_view fileName, std::string_view file);
CStream BuildGetCurrentFileVersionReply(const platform::FileVersion& version);
CStream BuildDownloadWebFileReply(std::string_view executable);

std::string ParsePingReply(CStream& payload);
LatestVersionReply ParseGetLatestVersionReply(CStream& payload);
// Also throws StreamReadError when fewer file bytes follow than announced
// (a negative file length included).
ECDFileReply ParseRequestECDFileReply(CStream& payload);
// Where the file's bytes begin in a RequestECDFile reply payload of which
// received is the start, once the fields before them have arrived.
std::optional<std::size_t> ECDFileReplyFileStart(std::string_view received);
platform::FileVersion ParseGetCurrentFileVersionReply(CStream& payload);

} // namespace qvs
