#include "LogText.h"

namespace qvs {

std::string QuoteForLog(std::string_view text) {
    static constexpr char hex[] = "0123456789abcdef";
    std::string quoted = "\"";
    for (const char c : text.substr(0, MaxLoggedText)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '\\' || byte == '"') {
            quoted += '\\';
            quoted += c;
        } else if (byte < 0x20 || byte >= 0x7F) {
            quoted += "\\x";
            quoted += hex[byte >> 4];
            quoted += hex[byte & 0x0F];
        } else {
            quoted += c;
        }
    }
    quoted += '"';
    if (text.size() > MaxLoggedText) {
        quoted += " (cut from " + std::to_string(text.size()) + " bytes)";
    }
    return quoted;
}

} // namespace qvs
