#include "GameStatusService.h"

#include <array>
#include <charconv>
#include <utility>

#include "platform/FileSystem.h"
#include "protocol/ProtocolError.h"

namespace qvs {

namespace {

std::string TrimLineEnd(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
        text.pop_back();
    }
    return text;
}

std::int32_t ReadNumber(const std::string& path) {
    const std::string text = TrimLineEnd(platform::ReadWholeFile(path).value_or(""));
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() ? value : 0;
}

} // namespace

GameStatusService::GameStatusService(std::string root) : status_(std::move(root) + "/status/") {}

StatusReply GameStatusService::CurrentStatus() const {
    StatusReply reply;
    reply.peopleOnline = ReadNumber(status_ + "people");
    reply.noticeMode = ReadNumber(status_ + "notice_mode");
    reply.noticeTitle = TrimLineEnd(platform::ReadWholeFile(status_ + "notice_title").value_or(""));
    reply.noticeHtml = platform::ReadWholeFile(status_ + "notice.html").value_or("");
    return reply;
}

std::string GameStatusService::Serve(platform::TcpSocket& socket) const {
    std::array<std::byte, GameFrameLengthSize> lengthBytes{};
    socket.ReceiveExactly(lengthBytes, ReadTimeoutMs);
    const std::int32_t length = ParseGameFrameLength(lengthBytes);
    if (length > MaxRequestFrame) {
        throw ProtocolError("request too large: " + std::to_string(length) + " bytes");
    }
    std::string bytes(static_cast<std::size_t>(length), '\0');
    socket.ReceiveExactly(std::as_writable_bytes(std::span(bytes)), ReadTimeoutMs);
    CStream body;
    body.Write(bytes.data(), bytes.size());
    body.SetPosition(0);
    if (!IsStatusQuery(body)) {
        return "not a status query, closed without reply";
    }
    const StatusReply status = CurrentStatus();
    const CStream reply = BuildStatusReply(status);
    socket.SendAll(reply.View());
    return "StatusQuery: " + std::to_string(status.peopleOnline) + " online, notice mode " +
           std::to_string(status.noticeMode);
}

} // namespace qvs
