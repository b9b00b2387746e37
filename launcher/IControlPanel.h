// A window's controls by the names its window table gives them, as launcher
// logic that works on several controls at once sees them. Each front end
// implements it once, for any window.
#pragma once

#include <string>
#include <string_view>

namespace qvs {

class IControlPanel {
public:
    virtual ~IControlPanel() = default;

    // The caption of a label, 8-bit text; a self-sizing label resizes.
    virtual void SetCaption(std::string_view control, const std::string& text) = 0;
    virtual void SetVisible(std::string_view control, bool visible) = 0;
    // Not hidden (it shows once its window does).
    virtual bool IsVisible(std::string_view control) const = 0;
    virtual void SetWidth(std::string_view control, int width) = 0;
    // Puts the control on top of its siblings.
    virtual void BringToFront(std::string_view control) = 0;
    // Lets the window repaint and handle its pending messages.
    virtual void ProcessPendingMessages() = 0;
};

} // namespace qvs
