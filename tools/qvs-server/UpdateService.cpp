#include "UpdateService.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <span>
#include <utility>

#include "LogText.h"
#include "platform/AsciiCase.h"
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

// A reply whose last size bytes come from a file: the payload length, and
// the file length field ending the head when there is one, count them.
std::string HeadBefore(CStream message, std::uint64_t size, bool lengthField) {
    const auto payload = static_cast<std::int32_t>(message.Size() - ReplyHeaderSize);
    const auto fileSize = static_cast<std::int32_t>(size);
    if (lengthField) {
        message.SetPosition(message.Size() - 4);
        message.WriteInt(fileSize);
    }
    message.SetPosition(4);
    message.WriteInt(payload + fileSize);
    return std::string(message.View());
}

std::string Describe(const UpdateRequest& request) {
    static constexpr std::array<const char*, 5> names = {
        "Ping", "GetLatestVersion", "RequestECDFile", "GetCurrentFileVersion", "DownloadWebFile"};
    std::string text = names.at(static_cast<std::size_t>(request.type));
    if (!request.name.empty()) {
        text += " " + QuoteForLog(request.name);
    }
    if (request.type == MessageType::RequestECDFile) {
        text += " " + std::to_string(request.version);
    }
    return text;
}

} // namespace

UpdateService::UpdateService(const RootFolder& root) : root_(root) {}

std::size_t UpdateService::Missing(std::string_view received) const {
    if (received.size() < ReplyHeaderSize) {
        return ReplyHeaderSize - received.size();
    }
    const MessageHeader header =
        ParseMessageHeader(std::as_bytes(std::span(received.data(), ReplyHeaderSize)));
    if (header.length > MaxRequestPayload) {
        throw ProtocolError("request too large: " + std::to_string(header.length) + " bytes");
    }
    return ReplyHeaderSize + static_cast<std::size_t>(header.length) - received.size();
}

Reply UpdateService::Answer(std::string_view request, const std::string& peerAddress) const {
    const MessageHeader header =
        ParseMessageHeader(std::as_bytes(std::span(request.data(), ReplyHeaderSize)));
    CStream payload;
    payload.Write(request.data() + ReplyHeaderSize, request.size() - ReplyHeaderSize);
    payload.SetPosition(0);
    const UpdateRequest parsed = ParseUpdateRequest(header.type, payload);
    Reply reply = Answer(parsed, peerAddress);
    reply.log = Describe(parsed) + ": " +
                (reply.head.empty() ? "not found, closed without reply"
                                    : std::to_string(reply.Size()) + " bytes");
    return reply;
}

Reply UpdateService::Answer(const UpdateRequest& request, const std::string& peerAddress) const {
    switch (request.type) {
    case MessageType::Ping:
        return {std::string(BuildPingReply(peerAddress).View())};
    case MessageType::GetLatestVersion:
        return {std::string(
            BuildGetLatestVersionReply(request.name, LatestVersion(request.name)).View())};
    case MessageType::GetCurrentFileVersion: {
        const std::optional<ServedFile> file = UpdatesFile(request.name);
        if (!file) {
            return {};
        }
        return {std::string(BuildGetCurrentFileVersionReply(versions_.Get(*file)).View())};
    }
    case MessageType::RequestECDFile:
    case MessageType::DownloadWebFile:
        return SendFile(request);
    }
    return {};
}

Reply UpdateService::SendFile(const UpdateRequest& request) const {
    const bool package = request.type == MessageType::RequestECDFile;
    // Packages are named as the launcher expects: lower case item, then the number.
    const std::string fileName =
        package ? platform::LowerAscii(request.name) + std::to_string(request.version) + ".ecd"
                : request.name;
    std::optional<ServedFile> file = package && (request.version < 0 || !IsPlainName(request.name))
                                         ? std::nullopt
                                         : UpdatesFile(fileName);
    // The payload length is a 32-bit field: what it cannot announce is not served.
    if (!file || file->Size() > static_cast<std::uint64_t>(MaxPayloadLength) - 1024) {
        return {};
    }
    const CStream message =
        package ? BuildRequestECDFileReply(request.name, request.version, fileName, "")
                : BuildDownloadWebFileReply("");
    return {HeadBefore(message, file->Size(), package), std::move(file)};
}

std::int32_t UpdateService::LatestVersion(const std::string& item) const {
    std::int32_t latest = 0;
    if (!IsPlainName(item)) {
        return latest;
    }
    const std::string wanted = platform::LowerAscii(item);
    for (const std::string& name : root_.ListFiles(root_.Match("updates"))) {
        if (const auto version = VersionOf(name, wanted)) {
            latest = std::max(latest, *version);
        }
    }
    return latest;
}

std::optional<ServedFile> UpdateService::UpdatesFile(const std::string& fileName) const {
    // One plain name, matched in any letter case as on the web host; a
    // folder is no file here, not even through its index.html.
    return IsPlainName(fileName) ? root_.OpenFile(root_.Match("updates/" + fileName))
                                 : std::nullopt;
}

} // namespace qvs
