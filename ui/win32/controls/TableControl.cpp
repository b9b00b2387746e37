#include "ui/win32/controls/TableControl.h"

#include "ui/tables/Catalogue.h"
#include "ui/win32/base/Handles.h"
#include "ui/win32/base/Text.h"
#include "ui/win32/controls/Scene.h"

#include <windowsx.h>

namespace qvs::win32 {

namespace {

// The class names are those of the controls the window was designed with.
const wchar_t* ClassName(ui::ControlKind kind) {
    switch (kind) {
    case ui::ControlKind::Label:
        return L"TLabel";
    case ui::ControlKind::MediaPlayer:
        return L"TMediaPlayer";
    default:
        return L"TImage";
    }
}

RECT Union(const RECT& a, const RECT& b) {
    RECT both{};
    UnionRect(&both, &a, &b);
    return both;
}

} // namespace

TableControl::TableControl(Scene& scene, const ui::ControlSpec& row, HWND parent, HFONT font)
    : scene_(scene), row_(row), font_(font), ink_(row.ink.value_or(ui::colour::Black)),
      width_(row.bounds.width) {
    const ui::Rect& b = row.bounds;
    const RECT bounds = scene.GetDpi().Scale(RECT{b.x, b.y, b.x + b.width, b.y + b.height});
    const std::wstring caption = Widen(row.caption);
    Create({ClassName(row.kind)},
           {caption.c_str(), WS_CHILD | WS_CLIPSIBLINGS | (row.visible ? WS_VISIBLE : 0u), 0,
            bounds, parent, 0});
    // Each new control goes on top of those before it, as the table lists
    // them bottom to top.
    SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (row.autoSize) {
        FitToCaption();
    }
}

std::string TableControl::Caption() const {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(Handle())) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(Handle(), text.data(), static_cast<int>(text.size()))));
    return Narrow(text);
}

void TableControl::SetCaption(std::string_view caption) {
    const RECT before = Bounds();
    SetWindowTextW(Handle(), Widen(caption).c_str());
    if (row_.autoSize) {
        FitToCaption();
    }
    Changed(before);
}

bool TableControl::IsVisible() const {
    return (GetWindowLongW(Handle(), GWL_STYLE) & WS_VISIBLE) != 0;
}

void TableControl::SetVisible(bool visible) {
    if (visible != IsVisible()) {
        ShowWindow(Handle(), visible ? SW_SHOWNA : SW_HIDE);
        Changed(Bounds());
    }
}

void TableControl::SetInk(ui::Rgb ink) {
    ink_ = ink;
    Changed(Bounds());
}

void TableControl::SetWidth(int width) {
    width_ = width;
    const RECT before = Bounds();
    SetWindowPos(Handle(), nullptr, 0, 0, scene_.GetDpi().Scale(width), before.bottom - before.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Changed(before);
}

void TableControl::ApplyDpi(HFONT font) {
    font_ = font;
    const ui::Rect& b = row_.bounds;
    const RECT bounds = scene_.GetDpi().Scale(RECT{b.x, b.y, b.x + width_, b.y + b.height});
    MoveWindow(Handle(), bounds.left, bounds.top, bounds.right - bounds.left,
               bounds.bottom - bounds.top, FALSE);
    if (row_.autoSize) {
        FitToCaption();
    }
}

void TableControl::SetEnabled(bool enabled) {
    EnableWindow(Handle(), enabled);
}

RECT TableControl::Bounds() const {
    RECT bounds{};
    GetWindowRect(Handle(), &bounds);
    MapWindowPoints(nullptr, GetParent(Handle()), reinterpret_cast<POINT*>(&bounds), 2);
    return bounds;
}

// The label's size is its caption's extent in its font, as Qt's adjustSize.
void TableControl::FitToCaption() {
    const std::wstring text = Widen(Caption());
    const WindowDc dc(Handle());
    const SelectGuard select(dc.Get(), font_);
    SIZE extent{};
    GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.Get(), &metrics);
    SetWindowPos(Handle(), nullptr, 0, 0, extent.cx, metrics.tmHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TableControl::Changed(const RECT& before) {
    scene_.Invalidate(Union(before, Bounds()));
}

void TableControl::Mouse(MouseEvent event) {
    if (mouse_) {
        mouse_(*this, event);
    }
}

LRESULT TableControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        const PaintScope paint(Handle());
        const RECT bounds = Bounds();
        scene_.Paint(paint.Dc(), paint.Area(), {bounds.left, bounds.top});
        return 0;
    }
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_);
    case WM_MOUSEMOVE:
        if (!inside_) {
            inside_ = true;
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Handle(), 0};
            TrackMouseEvent(&track);
            Mouse(MouseEvent::Enter);
        }
        Mouse(MouseEvent::Move);
        return 0;
    case WM_MOUSELEAVE:
        inside_ = false;
        Mouse(MouseEvent::Leave);
        return 0;
    case WM_LBUTTONDOWN:
        pressed_ = true;
        SetCapture(Handle());
        return 0;
    case WM_LBUTTONUP: {
        // A click is a press and a release of the left button over the control.
        const bool click = pressed_;
        pressed_ = false;
        ReleaseCapture();
        RECT client{};
        GetClientRect(Handle(), &client);
        const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (click && PtInRect(&client, at)) {
            Mouse(MouseEvent::Click);
        }
        return 0;
    }
    case WM_CAPTURECHANGED:
        pressed_ = false;
        return 0;
    default:
        return Default(message, wParam, lParam);
    }
}

} // namespace qvs::win32
