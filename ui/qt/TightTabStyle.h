// The application's style with narrower room around tab captions, so the
// troubleshooting window's seven steps fit its width without scroll arrows
// while the tabs keep the style's own look.
#pragma once

#include <QProxyStyle>

namespace qvs {

class TightTabStyle : public QProxyStyle {
public:
    // Room left and right of a caption together, in pixels.
    static constexpr int CaptionSpace = 10;

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
};

} // namespace qvs
