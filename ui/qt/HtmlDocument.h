// The byte form in which an HTML text goes into a browser view.
#pragma once

#include <QByteArray>

#include <string_view>

namespace qvs {

// Splits text into lines at CR LF, LF or CR and ends every line with CR LF.
// A line break at the very end closes the last line rather than starting an
// empty one; an empty text gives an empty document. Bytes are kept as they
// are (8-bit text in the system code page).
QByteArray HtmlDocument(std::string_view text);

} // namespace qvs
