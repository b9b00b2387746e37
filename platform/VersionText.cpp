// The platform-independent parts of GetFileInformation: reading the version
// text and finding the version record.
#include <charconv>

#include "platform/FileVersion.h"
#include "platform/VersionRecord.h"

namespace qvs::platform {

namespace {

// A decimal number with an optional sign and nothing else; 0 otherwise.
std::int32_t PieceToNumber(std::string_view piece) {
    if (!piece.empty() && piece.front() == '+') {
        piece.remove_prefix(1);
        if (!piece.empty() && piece.front() == '-') {
            return 0;
        }
    }
    std::int32_t value = 0;
    const char* end = piece.data() + piece.size();
    const auto [stop, error] = std::from_chars(piece.data(), end, value);
    if (error != std::errc() || stop != end) {
        return 0;
    }
    return value;
}

bool IsVersionTextChar(char c) {
    return c >= 0x20 && c <= 0x7E;
}

// The text of a record starting at bytes[at], if it is well formed.
std::optional<std::string> RecordTextAt(std::string_view bytes, std::size_t at) {
    const std::size_t start = at + VersionRecordTag.size();
    const std::size_t limit = std::min(bytes.size(), start + MaxVersionTextLength + 1);
    for (std::size_t i = start; i < limit; ++i) {
        if (bytes[i] == '\0') {
            if (i == start) {
                return std::nullopt;
            }
            return std::string(bytes.substr(start, i - start));
        }
        if (!IsVersionTextChar(bytes[i])) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

} // namespace

FileVersion ParseVersionText(std::string_view text) {
    FileVersion version;
    std::int32_t* const leading[3] = {&version.major, &version.minor, &version.release};
    for (std::int32_t* piece : leading) {
        const std::size_t stop = text.find('.');
        if (stop == std::string_view::npos) {
            return version;
        }
        *piece = PieceToNumber(text.substr(0, stop));
        text.remove_prefix(stop + 1);
    }
    version.build = PieceToNumber(text);
    return version;
}

std::string FormatVersion(const FileVersion& version) {
    return std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
           std::to_string(version.release) + "." + std::to_string(version.build);
}

std::optional<std::string> FindVersionRecord(std::string_view bytes) {
    for (std::size_t at = bytes.find(VersionRecordTag); at != std::string_view::npos;
         at = bytes.find(VersionRecordTag, at + 1)) {
        if (auto text = RecordTextAt(bytes, at)) {
            return text;
        }
    }
    return std::nullopt;
}

} // namespace qvs::platform
