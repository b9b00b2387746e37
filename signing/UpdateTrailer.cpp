#include "signing/UpdateTrailer.h"

#include "signing/Ed25519.h"
#include "signing/SignatureError.h"
#include "signing/UpdateSignature.h"

#include <vector>

namespace qvs {

namespace {

constexpr std::size_t maxFieldLength = 64;

bool IsFieldText(std::string_view text) {
    if (text.empty() || text.size() > maxFieldLength) {
        return false;
    }
    for (const char c : text) {
        if (c <= 0x20 || c > 0x7e) {
            return false;
        }
    }
    return true;
}

// The four lines of the message, each ended by a line break.
std::vector<std::string_view> Lines(std::string_view message) {
    std::vector<std::string_view> lines;
    while (!message.empty()) {
        const std::size_t end = message.find('\n');
        if (end == std::string_view::npos) {
            throw SignatureError("damaged signature trailer");
        }
        lines.push_back(message.substr(0, end));
        message.remove_prefix(end + 1);
    }
    return lines;
}

bool IsHexDigest(std::string_view text) {
    return text.size() == 64 &&
           text.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

} // namespace

std::string UpdateTrailer::Make(std::string_view message, std::string_view signature) {
    const auto size = static_cast<std::uint32_t>(message.size() + FixedSize);
    std::string trailer(message);
    trailer += signature;
    for (int shift = 0; shift < 32; shift += 8) {
        trailer += static_cast<char>((size >> shift) & 0xff);
    }
    trailer += Magic;
    return trailer;
}

bool UpdateTrailer::Present(std::string_view file) {
    return file.size() >= Magic.size() && file.substr(file.size() - Magic.size()) == Magic;
}

UpdateTrailer UpdateTrailer::Read(std::string_view tail, std::uint64_t fileSize) {
    if (!Present(tail)) {
        throw SignatureError("no signature");
    }
    if (tail.size() < FixedSize) {
        throw SignatureError("damaged signature trailer");
    }
    std::uint32_t size = 0;
    const std::size_t lengthAt = tail.size() - Magic.size() - 4;
    for (int i = 3; i >= 0; --i) {
        size =
            (size << 8) | static_cast<std::uint8_t>(tail[lengthAt + static_cast<std::size_t>(i)]);
    }
    if (size <= FixedSize || size > MaxSize || size > tail.size() || size > fileSize) {
        throw SignatureError("damaged signature trailer");
    }
    const std::string_view trailer = tail.substr(tail.size() - size);
    UpdateTrailer found;
    found.contentSize = fileSize - size;
    found.message = trailer.substr(0, size - FixedSize);
    found.signature = trailer.substr(found.message.size(), Ed25519::SignatureSize);
    const std::vector<std::string_view> lines = Lines(found.message);
    if (lines.size() != 4 || lines[0] != UpdateSignature::Tag || !IsFieldText(lines[1]) ||
        !IsFieldText(lines[2]) || !IsHexDigest(lines[3])) {
        throw SignatureError("damaged signature trailer");
    }
    found.item = {std::string(lines[1]), std::string(lines[2])};
    found.digestHex = lines[3];
    return found;
}

} // namespace qvs
