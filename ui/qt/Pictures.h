// The launcher's pictures and fonts, embedded as Qt resources. Pictures are
// JPEG files decoded with our own decoder, not with Qt's image plug-ins, so
// they look the same whatever plug-ins a system has.
#pragma once

#include "ui/tables/WindowTables.h"

#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <QString>

namespace qvs {

// The picture of a resource such as ":/imgBackground.jpg"; an empty pixmap
// when it is missing or not a readable JPEG, so the control stays blank.
QPixmap LoadPicture(const QString& resource);
// The catalogue's picture; an empty pixmap for PictureId::None.
QPixmap LoadPicture(ui::PictureId id);

// The launcher's icon in every size it is drawn in (16 to 256 px), for the
// windows, the task bar and the window list.
QIcon LauncherIcon();

// Makes the bundled Liberation fonts known to Qt; safe to call again.
void LoadLauncherFonts();

// The catalogue's font, by the bundled family that has the metrics of the
// classic Windows one.
QFont FontOf(ui::FontId id);

} // namespace qvs
