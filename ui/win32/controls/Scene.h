// The controls of one picture window, built from its table, and the picture
// they make together: composed bottom to top (each picture, then each
// caption) into a back buffer that is kept until something changes. The
// window and every control paint their part of it with one BitBlt. It is
// the window's control panel for the launcher's logic.
#pragma once

#include "launcher/IControlPanel.h"
#include "ui/win32/base/BackBuffer.h"
#include "ui/win32/base/Dpi.h"
#include "ui/win32/controls/Fonts.h"
#include "ui/win32/controls/Picture.h"
#include "ui/win32/controls/TableControl.h"

#include <map>
#include <memory>
#include <string_view>
#include <vector>

namespace qvs::win32 {

class Scene : public IControlPanel {
public:
    Scene(const ui::WindowSpec& table, HWND parent, Dpi dpi);
    ~Scene() override;
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // The control of this name; throws std::out_of_range for another.
    TableControl& operator[](std::string_view name) const;
    const std::vector<std::unique_ptr<TableControl>>& Controls() const { return controls_; }
    Dpi GetDpi() const { return dpi_; }
    FontCache& Fonts() { return fonts_; }

    // IControlPanel
    void SetCaption(std::string_view control, const std::string& text) override;
    void SetVisible(std::string_view control, bool visible) override;
    bool IsVisible(std::string_view control) const override;
    void SetWidth(std::string_view control, int width) override;
    void BringToFront(std::string_view control) override;
    void ProcessPendingMessages() override;

    // Moves to another DPI: fonts, pictures and every control's bounds
    // anew, as the window's size follows.
    void ApplyDpi(Dpi dpi);

    // The area (parent client coordinates) must be painted anew.
    void Invalidate(const RECT& area);
    // Paints the area of the window (or of a control at origin) from the
    // composed picture.
    void Paint(HDC target, const RECT& area, POINT origin);

private:
    void Compose();
    void Draw(HDC dc, const TableControl& control);

    const ui::WindowSpec& table_;
    HWND parent_;
    Dpi dpi_;
    FontCache fonts_;
    std::map<ui::PictureId, Picture> pictures_;
    std::vector<std::unique_ptr<TableControl>> controls_;
    BackBuffer buffer_;
    bool dirty_ = true;
};

} // namespace qvs::win32
