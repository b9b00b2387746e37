#include "workers/ServerFileReply.h"

#include "platform/AsciiCase.h"
#include "protocol/CStream.h"
#include "protocol/ProtocolError.h"
#include "protocol/UpdateReplies.h"

#include <algorithm>

namespace qvs {

namespace {

// Two names and two numbers: far less than this from a genuine server.
constexpr std::size_t MaxFieldsSize = 4096;

} // namespace

ServerFileReply::ServerFileReply(std::string itemName, std::int32_t version,
                                 std::size_t payloadLength, Sink sink)
    : itemName_(std::move(itemName)), version_(version), payloadLength_(payloadLength),
      sink_(std::move(sink)) {}

void ServerFileReply::Take(std::string_view piece) {
    if (left_) {
        Pass(piece);
        return;
    }
    const std::size_t had = fields_.size();
    fields_.append(piece.substr(0, MaxFieldsSize + 1 - std::min(had, MaxFieldsSize + 1)));
    const std::optional<std::size_t> fileStart = ECDFileReplyFileStart(fields_);
    if (!fileStart) {
        if (fields_.size() > MaxFieldsSize) {
            throw ProtocolError("The file reply's names are too long");
        }
        return;
    }
    ReadFields(*fileStart);
    fields_.clear();
    Pass(piece.substr(*fileStart - had));
}

void ServerFileReply::ReadFields(std::size_t fileStart) {
    CStream fields;
    fields.Write(fields_.data(), fileStart);
    fields.SetPosition(0);
    std::string itemName;
    std::int32_t version = 0;
    std::string fileName;
    std::int32_t length = 0;
    fields.ReadString(itemName);
    fields.ReadInt(version);
    fields.ReadString(fileName);
    fields.ReadInt(length);
    // Where the file goes is decided by the request; an answer about
    // anything else is no answer to it.
    const std::string asked = itemName_ + std::to_string(version_) + ".ecd";
    if (itemName != itemName_ || version != version_ ||
        platform::LowerAscii(fileName) != platform::LowerAscii(asked)) {
        throw ProtocolError("Asked for " + asked + ", the server answered with " + itemName + " " +
                            std::to_string(version) + " (" + fileName + ")");
    }
    if (length < 0 || static_cast<std::size_t>(length) > payloadLength_ - fileStart) {
        throw StreamReadError();
    }
    left_ = static_cast<std::size_t>(length);
}

// Bytes after the file, which the payload may carry, are dropped.
void ServerFileReply::Pass(std::string_view bytes) {
    const std::size_t count = std::min(bytes.size(), *left_);
    if (count > 0) {
        *left_ -= count;
        sink_(bytes.substr(0, count));
    }
}

void ServerFileReply::Finish() const {
    if (!left_ || *left_ > 0) {
        throw StreamReadError();
    }
}

} // namespace qvs
