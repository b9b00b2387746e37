#include "ui/qt/QtControlPanel.h"

#include "ui/qt/LocalText.h"
#include "ui/qt/TLabel.h"
#include "ui/qt/WindowBuilder.h"

#include <QCoreApplication>

namespace qvs {

QtControlPanel::QtControlPanel(QWidget& window) : window_(window) {}

void QtControlPanel::SetCaption(std::string_view control, const std::string& text) {
    Find<TLabel>(window_, control)->SetCaption(LocalText(text));
}

void QtControlPanel::SetVisible(std::string_view control, bool visible) {
    Find<QWidget>(window_, control)->setVisible(visible);
}

bool QtControlPanel::IsVisible(std::string_view control) const {
    return !Find<QWidget>(window_, control)->isHidden();
}

void QtControlPanel::SetWidth(std::string_view control, int width) {
    QWidget* widget = Find<QWidget>(window_, control);
    widget->resize(width, widget->height());
}

void QtControlPanel::BringToFront(std::string_view control) {
    Find<QWidget>(window_, control)->raise();
}

void QtControlPanel::ProcessPendingMessages() {
    QCoreApplication::processEvents();
}

} // namespace qvs
