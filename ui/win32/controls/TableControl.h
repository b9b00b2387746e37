// One control of a window table as a child window: a picture, a click area,
// a label or a placeholder. Its HWND carries what the player sees (caption
// as window text, bounds, visibility, font), so the API reads it back; the
// pixels come from the Scene that owns it.
#pragma once

#include "ui/tables/WindowTables.h"
#include "ui/win32/base/WindowBase.h"

#include <functional>
#include <string>
#include <string_view>

namespace qvs::win32 {

class Scene;

enum class MouseEvent { Move, Enter, Leave, Click };

class TableControl : public WindowBase {
public:
    using MouseHandler = std::function<void(const TableControl&, MouseEvent)>;

    TableControl(Scene& scene, const ui::ControlSpec& row, HWND parent, HFONT font);

    const ui::ControlSpec& Row() const { return row_; }
    std::string_view Name() const { return row_.name; }
    int Tag() const { return row_.tag; }

    std::string Caption() const;
    // Left-aligned labels take the size of their caption.
    void SetCaption(std::string_view caption);
    bool IsVisible() const;
    void SetVisible(bool visible);
    ui::Rgb Ink() const { return ink_; }
    void SetInk(ui::Rgb ink);
    // The width in table pixels (96 DPI); the picture is cut, not scaled.
    void SetWidth(int width);
    // Lays the control out again at the scene's new DPI with its new font;
    // caption, visibility and width stay.
    void ApplyDpi(HFONT font);
    void SetEnabled(bool enabled);
    HFONT FontHandle() const { return font_; }
    // Bounds in the parent's client area.
    RECT Bounds() const;

    void SetMouseHandler(MouseHandler handler) { mouse_ = std::move(handler); }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void FitToCaption();
    void Changed(const RECT& before);
    void Mouse(MouseEvent event);

    Scene& scene_;
    const ui::ControlSpec& row_;
    HFONT font_;
    ui::Rgb ink_;
    int width_; // in table pixels
    bool inside_ = false;
    bool pressed_ = false;
    MouseHandler mouse_;
};

} // namespace qvs::win32
