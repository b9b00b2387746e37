// A secondary window built from its table: a framed top-level window over an
// owner, with stock controls (labels, buttons, check boxes, memos, the tab
// control, panels) and browser views, each found by its table name. It
// colours read-only memos and labels itself, switches tab pages (siblings of
// the tab control, shown per page) and runs modally with the one pump.
#pragma once

#include "launcher/ModalResult.h"
#include "ui/tables/WindowTables.h"
#include "ui/win32/base/Dpi.h"
#include "ui/win32/base/Handles.h"
#include "ui/win32/base/WindowBase.h"
#include "ui/win32/controls/Fonts.h"
#include "ui/win32/controls/Picture.h"

#include <string>
#include <string_view>
#include <vector>

namespace qvs::win32 {

class DialogWindow : public WindowBase {
public:
    // Builds the window hidden; owner may be null (centred on the screen).
    DialogWindow(const ui::WindowSpec& table, HWND owner);
    ~DialogWindow() override;

    const ui::WindowSpec& Table() const { return table_; }
    HWND Owner() const { return owner_; }
    // The child of this table name; null for a name it does not have.
    HWND Control(std::string_view name) const;
    // The DPI the window is laid out for.
    Dpi WindowDpi() const { return dpi_; }

    std::string Text(std::string_view name) const;
    void SetText(std::string_view name, std::string_view text);
    // One memo line per entry, joined with CR LF as an edit control holds them.
    void SetLines(std::string_view name, const std::vector<std::string>& lines);
    bool IsChecked(std::string_view name) const;
    void SetChecked(std::string_view name, bool checked);
    void SetControlVisible(std::string_view name, bool visible);
    int CurrentPage() const;
    void SelectPage(int page);

    // Shows the window over its owner and runs until Close; the result of
    // Close, Cancel for the close box.
    ModalResult ShowModal();
    // The control that has the focus when the window shows.
    void SetInitialFocus(std::string_view name) { initialFocus_ = Control(name); }
    // Ends ShowModal with the result; the window hides.
    void Close(ModalResult result);
    bool IsShowing() const { return showing_; }

protected:
    // A button or check box of this name was clicked.
    virtual void Clicked(std::string_view) {}
    // The close box; closes with Cancel unless overridden.
    virtual void CloseBoxClicked() { Close(ModalResult::Cancel); }
    // The client area took a new size (after docked controls followed).
    virtual void Resized() {}
    // Before showing; the window may still decide not to (then false).
    virtual bool BeforeShow() { return true; }
    // The parent window a control of the table is created in.
    HWND ParentOf(const ui::ControlSpec& control) const;
    // Scaled bounds of a table control within its parent.
    RECT Place(const ui::ControlSpec& control) const;

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool PreTranslate(MSG& message) override;

private:
    struct Child {
        const ui::ControlSpec* spec;
        HWND window;
        Picture picture;     // picture controls only
        bool inside = false; // click areas: the pointer is over it
    };

    DWORD Style() const;
    void CreateFrame();
    void CreateControls();
    HWND CreateControl(const ui::ControlSpec& control, int id);
    void FillTabs(HWND tabs);
    void MeasurePages();
    // Place, and for labels sized to their caption its extent.
    RECT Bounds(const ui::ControlSpec& control);
    void ApplyDpi(Dpi dpi, const RECT& suggested);
    void ShowPage(int page);
    void LayOutDocks();
    void CentreOn(HWND owner);
    HWND ModalOwner() const;
    const Child* Find(std::string_view name) const;
    const Child* FindWindow(HWND window) const;
    Child* FindWindow(HWND window);
    LRESULT Colour(HDC dc, HWND control, bool editable);
    LRESULT PagePaper(HDC dc, HWND control);
    void DrawPicture(const DRAWITEMSTRUCT& item) const;
    // A click area's mouse: enter and leave swap its pictures, a click
    // goes to Clicked.
    static LRESULT CALLBACK ClickAreaProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR id, DWORD_PTR self) noexcept;
    void Hover(Child& area, bool inside);

    const ui::WindowSpec& table_;
    HWND owner_;
    Dpi dpi_;
    std::vector<Child> children_;
    HWND tabs_ = nullptr;
    RECT pageArea_{};
    FontCache fonts_;
    Brush buttonFace_;
    Brush white_;
    Brush pagePaper_;
    HWND initialFocus_ = nullptr;
    bool showing_ = false;
    ModalResult result_ = ModalResult::None;
};

} // namespace qvs::win32
