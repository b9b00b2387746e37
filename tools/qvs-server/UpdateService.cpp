#include "UpdateService.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <utility>

#include "platform/AsciiCase.h"
#include "platform/FileSystem.h"
#include "platform/FileVersion.h"
#include "protocol/ProtocolError.h"
#include "protocol/UpdateFrame.h"
#include "protocol/UpdateReplies.h"

namespace qvs {

namespace {

// Names from the wire become file names under updates/: nothing but one
// plain component may pass.
bool IsPlainName(const std::string& name) {
    if (name.empty() || name.size() > 64 || name.find("..") != std::string::npos) {
        return false;
    }
    return std::all_of(name.begin(), name.end(), [](unsigned char c) {
        return std::isalnum(c) != 0 || c == '.' || c == '_' || c == '-';
    });
}

// The N of "<item>N.ecd" (letter case ignored), or nothing.
std::optional<std::int32_t> VersionOf(const std::string& fileName, const std::string& item) {
    const std::string name = platform::LowerAscii(fileName);
    const std::string suffix = ".ecd";
    if (name.size() <= item.size() + suffix.size() || name.compare(0, item.size(), item) != 0 ||
        !name.ends_with(suffix)) {
        return std::nullopt;
    }
    const char* first = name.data() + item.size();
    const char* last = name.data() + name.size() - suffix.size();
    std::int32_t version = 0;
    const auto [end, error] = std::from_chars(first, last, version);
    if (error != std::errc() || end != last || version < 0 || *first == '-') {
        return std::nullopt;
    }
    return version;
}

MessageHeader ReadHeader(platform::TcpSocket& socket) {
    std::array<std::byte, ReplyHeaderSize> bytes{};
    socket.ReceiveExactly(bytes, UpdateService::ReadTimeoutMs);
    const MessageHeader header = ParseMessageHeader(bytes);
    if (header.length > UpdateService::MaxRequestPayload) {
        throw ProtocolError("request too large: " + std::to_string(header.length) + " bytes");
    }
    return header;
}

CStream ReadPayload(platform::TcpSocket& socket, std::int32_t length) {
    std::string bytes(static_cast<std::size_t>(length), '\0');
    socket.ReceiveExactly(std::as_writable_bytes(std::span(bytes)), UpdateService::ReadTimeoutMs);
    CStream payload;
    payload.Write(bytes.data(), bytes.size());
    payload.SetPosition(0);
    return payload;
}

std::string Describe(const UpdateRequest& request) {
    static constexpr std::array<const char*, 5> names = {
        "Ping", "GetLatestVersion", "RequestECDFile", "GetCurrentFileVersion", "DownloadWebFile"};
    std::string text = names.at(static_cast<std::size_t>(request.type));
    if (!request.name.empty()) {
        text += " \"" + request.name + "\"";
    }
    if (request.type == MessageType::RequestECDFile) {
        text += " " + std::to_string(request.version);
    }
    return text;
}

} // namespace

UpdateService::UpdateService(std::string root) : updates_(std::move(root) + "/updates/") {}

std::string UpdateService::Serve(platform::TcpSocket& socket) const {
    const MessageHeader header = ReadHeader(socket);
    CStream payload = ReadPayload(socket, header.length);
    const UpdateRequest request = ParseUpdateRequest(header.type, payload);
    std::optional<CStream> reply = Answer(request, socket);
    if (!reply) {
        return Describe(request) + ": not found, closed without reply";
    }
    socket.SendAll(reply->View());
    return Describe(request) + ": " + std::to_string(reply->Size()) + " bytes";
}

std::optional<CStream> UpdateService::Answer(const UpdateRequest& request,
                                             const platform::TcpSocket& socket) const {
    switch (request.type) {
    case MessageType::Ping:
        return BuildPingReply(socket.PeerAddress());
    case MessageType::GetLatestVersion:
        return BuildGetLatestVersionReply(request.name, LatestVersion(request.name));
    case MessageType::RequestECDFile: {
        // Named as the launcher expects: lower case item, then the number.
        const std::string fileName =
            platform::LowerAscii(request.name) + std::to_string(request.version) + ".ecd";
        const auto file = IsPlainName(request.name) && request.version >= 0
                              ? platform::ReadWholeFile(UpdatesPath(fileName))
                              : std::nullopt;
        if (!file) {
            return std::nullopt;
        }
        return BuildRequestECDFileReply(request.name, request.version, fileName, *file);
    }
    case MessageType::GetCurrentFileVersion:
        if (!IsPlainName(request.name) || !platform::FileExists(UpdatesPath(request.name))) {
            return std::nullopt;
        }
        return BuildGetCurrentFileVersionReply(
            platform::GetFileInformation(UpdatesPath(request.name)));
    case MessageType::DownloadWebFile: {
        const auto file = IsPlainName(request.name)
                              ? platform::ReadWholeFile(UpdatesPath(request.name))
                              : std::nullopt;
        if (!file) {
            return std::nullopt;
        }
        return BuildDownloadWebFileReply(*file);
    }
    }
    return std::nullopt;
}

std::int32_t UpdateService::LatestVersion(const std::string& item) const {
    std::int32_t latest = 0;
    if (!IsPlainName(item)) {
        return latest;
    }
    const std::string wanted = platform::LowerAscii(item);
    for (const platform::DirectoryEntry& entry : platform::ListDirectory(updates_)) {
        if ((entry.attributes & platform::AttrDirectory) != 0) {
            continue;
        }
        if (const auto version = VersionOf(entry.name, wanted)) {
            latest = std::max(latest, *version);
        }
    }
    return latest;
}

std::string UpdateService::UpdatesPath(const std::string& fileName) const {
    return updates_ + fileName;
}

} // namespace qvs
