#include "launcher/gui/QtShell.h"

#include <QDesktopServices>
#include <QUrl>

namespace qvs {

void QtShell::OpenUrl(const std::string& url) {
    QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

} // namespace qvs
