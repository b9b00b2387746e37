// The core's control seam over any window built from its table: controls
// are found by their table names.
#pragma once

#include "launcher/IControlPanel.h"

class QWidget;

namespace qvs {

class QtControlPanel : public IControlPanel {
public:
    explicit QtControlPanel(QWidget& window);

    void SetCaption(std::string_view control, const std::string& text) override;
    void SetVisible(std::string_view control, bool visible) override;
    bool IsVisible(std::string_view control) const override;
    void SetWidth(std::string_view control, int width) override;
    void BringToFront(std::string_view control) override;
    void ProcessPendingMessages() override;

private:
    QWidget& window_;
};

} // namespace qvs
