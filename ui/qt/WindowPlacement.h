// Size and place of the launcher's secondary windows.
#pragma once

#include <QSize>

class QWidget;

namespace qvs {

// Gives a top-level window the outer size (frame included) and centres it on
// its owner window, or on its screen when it has no visible owner. The frame
// is known once the window is shown, so call it from the first show event.
void PlaceOnOwner(QWidget& window, QSize outerSize);

} // namespace qvs
