#include "ui/qt/WindowPlacement.h"

#include <QRect>
#include <QScreen>
#include <QWidget>

namespace qvs {

void PlaceOnOwner(QWidget& window, QSize outerSize) {
    const QSize frameExtra = window.frameGeometry().size() - window.geometry().size();
    window.resize(outerSize - frameExtra);
    const QWidget* owner = window.parentWidget();
    QRect area;
    if (owner != nullptr && owner->isVisible()) {
        area = owner->window()->frameGeometry();
    } else if (window.screen() != nullptr) {
        area = window.screen()->availableGeometry();
    } else {
        return;
    }
    QRect frame(QPoint(0, 0), outerSize);
    frame.moveCenter(area.center());
    window.move(frame.topLeft());
}

} // namespace qvs
