#include "ui/qt/TightTabStyle.h"

namespace qvs {

int TightTabStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                               const QWidget* widget) const {
    if (metric == PM_TabBarTabHSpace) {
        return CaptionSpace;
    }
    return QProxyStyle::pixelMetric(metric, option, widget);
}

} // namespace qvs
