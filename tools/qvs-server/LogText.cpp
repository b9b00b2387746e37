#include "LogText.h"

namespace qvs {

std::string EscapeForLog(std::string_view text) {
    static constexpr char hex[] = "0123456789abcdef";
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '\\' || byte == '"') {
            escaped += '\\';
            escaped += c;
        } else if (byte < 0x20 || byte >= 0x7F) {
            escaped += "\\x";
            escaped += hex[byte >> 4];
            escaped += hex[byte & 0x0F];
        } else {
            escaped += c;
        }
    }
    return escaped;
}

} // namespace qvs
