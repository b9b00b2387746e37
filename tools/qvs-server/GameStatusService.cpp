#include "GameStatusService.h"

#include <array>
#include <charconv>
#include <span>
#include <utility>

#include "protocol/ProtocolError.h"

namespace qvs {

namespace {

std::string TrimLineEnd(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
        text.pop_back();
    }
    return text;
}

constexpr std::size_t MaxStatusFile = 1 << 20;

std::int32_t Number(const std::string& content) {
    const std::string text = TrimLineEnd(content);
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() ? value : 0;
}

} // namespace

GameStatusService::GameStatusService(const RootFolder& root) : root_(root) {}

std::string GameStatusService::Read(const std::string& name) const {
    return root_.ReadSmall(root_.Match("status/" + name), MaxStatusFile).value_or("");
}

StatusReply GameStatusService::CurrentStatus() const {
    StatusReply reply;
    reply.peopleOnline = Number(Read("people"));
    reply.noticeMode = Number(Read("notice_mode"));
    reply.noticeTitle = TrimLineEnd(Read("notice_title"));
    reply.noticeHtml = Read("notice.html");
    return reply;
}

std::size_t GameStatusService::Missing(std::string_view received) const {
    if (received.size() < GameFrameLengthSize) {
        return GameFrameLengthSize - received.size();
    }
    const std::int32_t length =
        ParseGameFrameLength(std::as_bytes(std::span(received.data(), GameFrameLengthSize)));
    if (length > MaxRequestFrame) {
        throw ProtocolError("request too large: " + std::to_string(length) + " bytes");
    }
    return GameFrameLengthSize + static_cast<std::size_t>(length) - received.size();
}

Reply GameStatusService::Answer(std::string_view request, const std::string&) const {
    CStream body;
    body.Write(request.data() + GameFrameLengthSize, request.size() - GameFrameLengthSize);
    body.SetPosition(0);
    if (!IsStatusQuery(body)) {
        return {{}, std::nullopt, "not a status query, closed without reply"};
    }
    const StatusReply status = CurrentStatus();
    return {std::string(BuildStatusReply(status).View()), std::nullopt,
            "StatusQuery: " + std::to_string(status.peopleOnline) + " online, notice mode " +
                std::to_string(status.noticeMode)};
}

} // namespace qvs
