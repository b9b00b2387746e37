// The launcher's texts are 8-bit, in the system code page, the window
// tables' captions UTF-8; these turn them into what the Qt controls show.
#pragma once

#include <QPlainTextEdit>
#include <QString>
#include <QStringList>

#include <string>
#include <string_view>
#include <vector>

namespace qvs {

inline QString LocalText(std::string_view text) {
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

// A caption of the window tables, which are UTF-8.
inline QString TableText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// One memo line for each entry.
inline void SetMemoLines(QPlainTextEdit* memo, const std::vector<std::string>& lines) {
    QStringList texts;
    for (const std::string& line : lines) {
        texts.push_back(LocalText(line));
    }
    memo->setPlainText(texts.join(QLatin1Char('\n')));
}

} // namespace qvs
