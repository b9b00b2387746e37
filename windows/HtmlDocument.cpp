#include "windows/HtmlDocument.h"

namespace qvs {

QByteArray HtmlDocument(std::string_view text) {
    QByteArray document;
    document.reserve(static_cast<qsizetype>(text.size() + text.size() / 16 + 2));
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            continue;
        }
        document.append(text.data() + lineStart, static_cast<qsizetype>(i - lineStart));
        document.append("\r\n");
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
        }
        lineStart = i + 1;
    }
    if (lineStart < text.size()) {
        document.append(text.data() + lineStart, static_cast<qsizetype>(text.size() - lineStart));
        document.append("\r\n");
    }
    return document;
}

} // namespace qvs
