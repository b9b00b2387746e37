#include "ui/qt/HandlerGuard.h"

#include <QtGlobal>

namespace qvs {

HandlerGuard::HandlerGuard(Report report) : report_(std::move(report)) {}

void HandlerGuard::Tell(const std::string& message) const noexcept {
    try {
        if (report_) {
            report_(message);
            return;
        }
    } catch (...) {
        // The report itself failed: the log below still has the message.
    }
    qWarning("%s", message.c_str());
}

} // namespace qvs
