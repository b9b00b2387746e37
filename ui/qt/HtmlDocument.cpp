#include "ui/qt/HtmlDocument.h"

#include "system/TextLines.h"

namespace qvs {

QByteArray HtmlDocument(std::string_view text) {
    return QByteArray::fromStdString(JoinWithCrLf(SplitIntoLines(text)));
}

} // namespace qvs
