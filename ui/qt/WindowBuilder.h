// Builds a window and its controls from its window table: the one place
// where the Qt front end turns the tables' kinds, bounds, fonts, colours and
// pictures into widgets. Windows then find their controls by table name.
#pragma once

#include "ui/tables/WindowTables.h"

#include <QColor>
#include <QString>
#include <QWidget>

#include <stdexcept>
#include <string>
#include <string_view>

namespace qvs {

// The top-level window flags of the table's border.
Qt::WindowFlags WindowFlagsOf(const ui::WindowSpec& spec);

// Gives window the table's object name, caption, font and icon, and a fixed
// window its client size; then builds every control of the table as its
// child, in stacking order.
void BuildWindow(QWidget& window, const ui::WindowSpec& spec);

QColor ColourOf(ui::Rgb rgb);

// The control built for the table entry name; a name the window lacks is a
// fault of the calling code.
template <typename Control> Control* Find(const QWidget& window, std::string_view name) {
    auto* control = window.findChild<Control*>(
        QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    if (control == nullptr) {
        throw std::out_of_range("no control " + std::string(name));
    }
    return control;
}

} // namespace qvs
