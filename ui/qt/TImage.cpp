#include "ui/qt/TImage.h"

#include <QMouseEvent>
#include <QPainter>

namespace qvs {

TImage::TImage(QWidget* parent, const QString& name, const QRect& bounds, int tag)
    : QWidget(parent), tag_(tag) {
    setObjectName(name);
    setGeometry(bounds);
    setMouseTracking(true); // movement without a pressed button drives the hover help
}

void TImage::SetPicture(const QPixmap& picture) {
    picture_ = picture;
    update();
}

void TImage::paintEvent(QPaintEvent*) {
    if (picture_.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture_);
}

void TImage::mouseMoveEvent(QMouseEvent*) {
    emit MouseMoved();
}

// A click is a press and a release of the left button over the control.
void TImage::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit Clicked();
    }
}

void TImage::enterEvent(QEnterEvent*) {
    emit Entered();
}

void TImage::leaveEvent(QEvent*) {
    emit Left();
}

} // namespace qvs
