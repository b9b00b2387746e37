#include "ui/qt/TLabel.h"

#include <QMouseEvent>

namespace qvs {

TLabel::TLabel(QWidget* parent, const QString& name, const QString& caption, const QFont& font,
               const QColor& colour)
    : QLabel(caption, parent) {
    setObjectName(name);
    setTextFormat(Qt::PlainText); // "<control><v>" is a caption, not markup
    setFont(font);
    SetColour(colour);
    setAutoFillBackground(false);
    setAttribute(Qt::WA_TranslucentBackground);
}

void TLabel::SetColour(const QColor& colour) {
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, colour);
    setPalette(palette);
}

void TLabel::SetAutoSize() {
    autoSize_ = true;
    adjustSize();
}

void TLabel::SetCaption(const QString& caption) {
    setText(caption);
    if (autoSize_) {
        adjustSize();
    }
}

void TLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit Clicked();
    }
}

void TLabel::enterEvent(QEnterEvent*) {
    emit Entered();
}

void TLabel::leaveEvent(QEvent*) {
    emit Left();
}

} // namespace qvs
