#include "ui/win32/windows/DialogWindow.h"

#include "ui/tables/Catalogue.h"
#include "ui/win32/base/ModalLoop.h"
#include "ui/win32/base/Text.h"
#include "ui/win32/controls/Resources.h"

#include <commctrl.h>

#include <algorithm>
#include <map>
#include <utility>

namespace qvs::win32 {

namespace {

constexpr int FirstControlId = 100;

COLORREF ToColorRef(ui::Rgb colour) {
    return RGB(colour.r, colour.g, colour.b);
}

// The window class of each kind of table control and its style.
struct StockClass {
    const wchar_t* name;
    DWORD style;
};

StockClass StockClassOf(const ui::ControlSpec& control) {
    using enum ui::ControlKind;
    // Texts keep their "&": none of these captions has an accelerator.
    switch (control.kind) {
    case Label:
        return {L"STATIC", SS_NOPREFIX | (control.align == ui::Align::Centre ? SS_CENTER : 0u)};
    case Button:
        return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP};
    case CheckBox:
        return {L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP};
    case TabControl:
        return {WC_TABCONTROLW, WS_TABSTOP};
    case Memo: {
        const ui::MemoStyle& memo = control.memo;
        DWORD style = ES_MULTILINE | ES_AUTOVSCROLL | ES_NOHIDESEL | WS_TABSTOP;
        style |= memo.readOnly ? ES_READONLY : 0u;
        style |= memo.wordWrap ? 0u : ES_AUTOHSCROLL;
        style |= memo.verticalScrollBar ? WS_VSCROLL : 0u;
        style |= memo.horizontalScrollBar ? WS_HSCROLL : 0u;
        return {L"EDIT", style};
    }
    case Picture:
        return {L"STATIC", SS_OWNERDRAW};
    default: // panels, browser views (their host) and click areas
        return {L"STATIC", SS_NOPREFIX | SS_NOTIFY};
    }
}

// Texts read from files (the error log, qvs.cfg) may be in the system code
// page rather than UTF-8; their bytes keep their meaning instead of all
// turning into U+FFFD.
std::wstring WidenText(std::string_view text) {
    const int size = static_cast<int>(text.size());
    if (text.empty() ||
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0) > 0) {
        return Widen(text);
    }
    std::wstring wide(
        static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0)),
        L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), static_cast<int>(wide.size()));
    return wide;
}

std::wstring JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        text += (i == 0 ? "" : "\r\n") + lines[i];
    }
    return WidenText(text);
}

} // namespace

DialogWindow::DialogWindow(const ui::WindowSpec& table, HWND owner)
    : table_(table), owner_(owner), dpi_(DpiOf(owner)), fonts_(dpi_),
      buttonFace_(CreateSolidBrush(GetSysColor(COLOR_BTNFACE))),
      white_(CreateSolidBrush(RGB(255, 255, 255))) {
    CreateFrame();
    CreateControls();
    LayOutDocks();
}

DialogWindow::~DialogWindow() = default;

DWORD DialogWindow::Style() const {
    switch (table_.border) {
    case ui::Border::None:
        return WS_POPUP | WS_CLIPCHILDREN;
    case ui::Border::Sizeable:
        return WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    case ui::Border::Dialog:
        break;
    }
    return WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
}

void DialogWindow::CreateFrame() {
    const DWORD style = Style();
    const DWORD exStyle = (table_.border == ui::Border::Dialog ? WS_EX_DLGMODALFRAME : 0u) |
                          (table_.stayOnTop ? WS_EX_TOPMOST : 0u);
    const SIZE size{dpi_.Scale(table_.width), dpi_.Scale(table_.height)};
    // The table gives a sizeable window's outer size, any other's client size.
    const SIZE outer =
        table_.border == ui::Border::Sizeable ? size : OuterSize(size, style, exStyle, dpi_);
    const std::wstring caption = Widen(table_.caption);
    WindowSpec spec;
    spec.title = caption.c_str();
    spec.style = style;
    spec.exStyle = exStyle;
    spec.bounds = {0, 0, outer.cx, outer.cy};
    spec.parent = owner_;
    Create({L"QvsDialogWindow", CS_DBLCLKS, nullptr}, spec);
    if (table_.launcherIcon) {
        const auto icon =
            static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1),
                                          IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
        SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Get(table_.font)), FALSE);
}

void DialogWindow::CreateControls() {
    int id = FirstControlId;
    for (const ui::ControlSpec& control : table_.controls) {
        if (control.kind == ui::ControlKind::MediaPlayer) {
            continue;
        }
        const HWND window = CreateControl(control, id++);
        children_.push_back({&control, window, {}});
        if (control.kind == ui::ControlKind::Picture) {
            children_.back().picture =
                Picture::Decode(ResourceBytes(ui::PictureFile(control.picture)), dpi_);
        } else if (control.kind == ui::ControlKind::ClickArea) {
            SetWindowSubclass(window, &DialogWindow::ClickAreaProc, 0,
                              reinterpret_cast<DWORD_PTR>(this));
        }
        if (control.kind == ui::ControlKind::TabControl) {
            tabs_ = window;
            FillTabs(window);
        }
    }
    // The tab order of the table, then the tab control under its pages.
    std::vector<const Child*> ordered;
    for (const Child& child : children_) {
        if (child.spec->tabOrder >= 0) {
            ordered.push_back(&child);
        }
    }
    std::ranges::sort(ordered, {}, [](const Child* child) { return child->spec->tabOrder; });
    HWND previous = HWND_TOP;
    for (const Child* child : ordered) {
        SetWindowPos(child->window, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        previous = child->window;
    }
    if (tabs_ != nullptr) {
        SetWindowPos(tabs_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        ShowPage(0);
    }
}

HWND DialogWindow::CreateControl(const ui::ControlSpec& control, int id) {
    const StockClass stock = StockClassOf(control);
    const HWND parent = ParentOf(control);
    const HFONT font = fonts_.Get(control.font);
    const RECT bounds = Bounds(control);
    const std::wstring caption = Widen(control.caption);
    const DWORD visible = control.visible && control.page <= 0 ? WS_VISIBLE : 0u;
    // Pictures paint through the transparent click areas that lie on them.
    const DWORD clip = control.kind == ui::ControlKind::Picture ? 0u : WS_CLIPSIBLINGS;
    const HWND window = CreateWindowExW(
        control.kind == ui::ControlKind::Memo ? WS_EX_CLIENTEDGE : 0u, stock.name, caption.c_str(),
        WS_CHILD | clip | stock.style | visible, bounds.left, bounds.top,
        bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (control.kind == ui::ControlKind::Panel || control.kind == ui::ControlKind::Browser) {
        // Browser views and the panels holding them clip what they contain.
        SetWindowLongPtrW(window, GWL_STYLE,
                          GetWindowLongPtrW(window, GWL_STYLE) | WS_CLIPCHILDREN);
    }
    if (control.lines != nullptr) {
        SetWindowTextW(window, JoinLines(control.lines()).c_str());
    }
    if (!control.hint.empty()) {
        const HWND tip =
            CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0,
                            0, 0, Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
        std::wstring hint = Widen(control.hint);
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = Handle();
        tool.uId = reinterpret_cast<UINT_PTR>(window);
        tool.lpszText = hint.data();
        SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    return window;
}

void DialogWindow::FillTabs(HWND tabs) {
    int index = 0;
    for (const ui::TabSpec& tab : table_.tabs) {
        std::wstring caption = Widen(tab.caption);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption.data();
        SendMessageW(tabs, TCM_INSERTITEMW, index++, reinterpret_cast<LPARAM>(&item));
    }
    MeasurePages();
}

void DialogWindow::MeasurePages() {
    // Little room beside each caption, so all seven steps fit the width
    // without scroll arrows.
    SendMessageW(tabs_, TCM_SETPADDING, 0, MAKELPARAM(dpi_.Scale(4), dpi_.Scale(3)));
    SendMessageW(tabs_, TCM_SETMINTABWIDTH, 0, dpi_.Scale(20));
    RECT area;
    GetClientRect(tabs_, &area);
    TabCtrl_AdjustRect(tabs_, FALSE, &area);
    MapWindowPoints(tabs_, Handle(), reinterpret_cast<POINT*>(&area), 2);
    pageArea_ = area;
}

RECT DialogWindow::Bounds(const ui::ControlSpec& control) {
    RECT bounds = Place(control);
    if (control.autoSize) {
        const std::wstring caption = Widen(control.caption);
        WindowDc dc(Handle());
        SelectGuard select(dc.Get(), fonts_.Get(control.font));
        SIZE extent{};
        GetTextExtentPoint32W(dc.Get(), caption.c_str(), static_cast<int>(caption.size()), &extent);
        bounds.right = bounds.left + extent.cx;
        bounds.bottom = bounds.top + extent.cy;
    }
    return bounds;
}

// A new DPI (the window moved to another monitor): the suggested frame, then
// fonts, bounds and pictures at the new scale. The old fonts go only once no
// control uses them.
void DialogWindow::ApplyDpi(Dpi dpi, const RECT& suggested) {
    dpi_ = dpi;
    const FontCache oldFonts = std::exchange(fonts_, FontCache(dpi));
    pagePaper_.Reset();
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Get(table_.font)), FALSE);
    SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    for (Child& child : children_) {
        SendMessageW(child.window, WM_SETFONT,
                     reinterpret_cast<WPARAM>(fonts_.Get(child.spec->font)), FALSE);
        const RECT bounds = Bounds(*child.spec);
        MoveWindow(child.window, bounds.left, bounds.top, bounds.right - bounds.left,
                   bounds.bottom - bounds.top, TRUE);
        if (child.window == tabs_) {
            MeasurePages();
        }
        if (child.spec->kind == ui::ControlKind::Picture) {
            child.picture =
                Picture::Decode(ResourceBytes(ui::PictureFile(child.spec->picture)), dpi_);
        }
    }
    LayOutDocks();
    Resized();
    InvalidateRect(Handle(), nullptr, TRUE);
}

HWND DialogWindow::ParentOf(const ui::ControlSpec& control) const {
    const Child* parent = control.parent.empty() ? nullptr : Find(control.parent);
    return parent != nullptr ? parent->window : Handle();
}

RECT DialogWindow::Place(const ui::ControlSpec& control) const {
    const ui::Rect& b = control.bounds;
    RECT bounds = dpi_.Scale(RECT{b.x, b.y, b.x + b.width, b.y + b.height});
    if (control.page >= 0 && tabs_ != nullptr) {
        OffsetRect(&bounds, pageArea_.left, pageArea_.top);
    }
    return bounds;
}

void DialogWindow::ShowPage(int page) {
    for (const Child& child : children_) {
        if (child.spec->page >= 0) {
            ShowWindow(child.window,
                       child.spec->page == page && child.spec->visible ? SW_SHOW : SW_HIDE);
        }
    }
}

void DialogWindow::LayOutDocks() {
    // Bottom controls stack up from the foot of their parent; a Fill
    // control takes what is left above them.
    std::map<HWND, int> bottomUsed;
    for (const Child& child : children_) {
        if (child.spec->dock == ui::Dock::Bottom) {
            RECT area;
            GetClientRect(ParentOf(*child.spec), &area);
            const int height = dpi_.Scale(child.spec->bounds.height);
            int& used = bottomUsed[ParentOf(*child.spec)];
            used += height;
            MoveWindow(child.window, 0, area.bottom - used, area.right, height, TRUE);
        }
    }
    for (const Child& child : children_) {
        if (child.spec->dock == ui::Dock::Fill) {
            const HWND parent = ParentOf(*child.spec);
            RECT area;
            GetClientRect(parent, &area);
            MoveWindow(child.window, 0, 0, area.right, area.bottom - bottomUsed[parent], TRUE);
        }
    }
}

void DialogWindow::CentreOn(HWND owner) {
    RECT area{};
    if (owner != nullptr && IsWindowVisible(owner)) {
        GetWindowRect(owner, &area);
    } else {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    }
    RECT frame;
    GetWindowRect(Handle(), &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    SetWindowPos(Handle(), nullptr, (area.left + area.right - width) / 2,
                 (area.top + area.bottom - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

const DialogWindow::Child* DialogWindow::Find(std::string_view name) const {
    const auto found =
        std::ranges::find(children_, name, [](const Child& c) { return c.spec->name; });
    return found != children_.end() ? &*found : nullptr;
}

const DialogWindow::Child* DialogWindow::FindWindow(HWND window) const {
    const auto found = std::ranges::find(children_, window, &Child::window);
    return found != children_.end() ? &*found : nullptr;
}

DialogWindow::Child* DialogWindow::FindWindow(HWND window) {
    const auto found = std::ranges::find(children_, window, &Child::window);
    return found != children_.end() ? &*found : nullptr;
}

void DialogWindow::DrawPicture(const DRAWITEMSTRUCT& item) const {
    const Child* child = FindWindow(item.hwndItem);
    if (child != nullptr && !child->picture.Empty()) {
        const RECT& area = item.rcItem;
        child->picture.Draw(item.hDC, {0, 0}, {area.right - area.left, area.bottom - area.top});
    }
}

LRESULT CALLBACK DialogWindow::ClickAreaProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam, UINT_PTR, DWORD_PTR self) noexcept {
    auto& dialog = *reinterpret_cast<DialogWindow*>(self);
    Child* area = dialog.FindWindow(window);
    try {
        if (message == WM_MOUSEMOVE && area != nullptr && !area->inside) {
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
            TrackMouseEvent(&track);
            dialog.Hover(*area, true);
        } else if (message == WM_MOUSELEAVE && area != nullptr) {
            dialog.Hover(*area, false);
        } else if (message == WM_LBUTTONUP && area != nullptr) {
            dialog.Clicked(area->spec->name);
            return 0;
        } else if (message == WM_NCDESTROY) {
            RemoveWindowSubclass(window, &DialogWindow::ClickAreaProc, 0);
        }
    } catch (const std::exception& error) {
        dialog.HandlerFailed(error.what());
    } catch (...) {
        dialog.HandlerFailed("Unknown error");
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

void DialogWindow::Hover(Child& area, bool inside) {
    area.inside = inside;
    for (const Child& child : children_) {
        if (child.spec->kind != ui::ControlKind::Picture) {
            continue;
        }
        if (child.spec->picture == area.spec->hoverPicture) {
            ShowWindow(child.window, inside ? SW_SHOW : SW_HIDE);
        } else if (child.spec->picture == area.spec->picture) {
            ShowWindow(child.window, inside ? SW_HIDE : SW_SHOW);
        }
    }
}

HWND DialogWindow::Control(std::string_view name) const {
    const Child* child = Find(name);
    return child != nullptr ? child->window : nullptr;
}

std::string DialogWindow::Text(std::string_view name) const {
    const HWND window = Control(name);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return Narrow(text);
}

void DialogWindow::SetText(std::string_view name, std::string_view text) {
    SetWindowTextW(Control(name), WidenText(text).c_str());
}

void DialogWindow::SetLines(std::string_view name, const std::vector<std::string>& lines) {
    SetWindowTextW(Control(name), JoinLines(lines).c_str());
}

bool DialogWindow::IsChecked(std::string_view name) const {
    return SendMessageW(Control(name), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void DialogWindow::SetChecked(std::string_view name, bool checked) {
    SendMessageW(Control(name), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void DialogWindow::SetControlVisible(std::string_view name, bool visible) {
    ShowWindow(Control(name), visible ? SW_SHOW : SW_HIDE);
}

int DialogWindow::CurrentPage() const {
    return tabs_ != nullptr ? static_cast<int>(SendMessageW(tabs_, TCM_GETCURSEL, 0, 0)) : -1;
}

void DialogWindow::SelectPage(int page) {
    SendMessageW(tabs_, TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
    ShowPage(page);
}

// A window opened from another modal window of the same owner (the error
// report from the updater error window) belongs to that one while it shows,
// so it stays in front of it and blocks it.
HWND DialogWindow::ModalOwner() const {
    const HWND active = GetActiveWindow();
    if (active != nullptr && active != Handle() && GetWindow(active, GW_OWNER) == owner_ &&
        IsWindowEnabled(active)) {
        return active;
    }
    return owner_;
}

ModalResult DialogWindow::ShowModal() {
    // Asked again while it shows (a timer's handler): one loop is enough.
    if (showing_) {
        return ModalResult::Cancel;
    }
    const HWND owner = ModalOwner();
    SetWindowLongPtrW(Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    ModalLoop loop(owner);
    result_ = ModalResult::None;
    if (BeforeShow()) {
        showing_ = true;
        CentreOn(owner);
        ShowWindow(Handle(), SW_SHOW);
        if (initialFocus_ != nullptr) {
            SetFocus(initialFocus_);
        }
        loop.Run(Handle(), [this] { return !showing_; });
        showing_ = false;
    }
    SetWindowLongPtrW(Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner_));
    return result_ == ModalResult::None ? ModalResult::Cancel : result_;
}

void DialogWindow::Close(ModalResult result) {
    result_ = result;
    showing_ = false;
}

LRESULT DialogWindow::Colour(HDC dc, HWND control, bool editable) {
    const Child* child = FindWindow(control);
    const ui::ControlSpec* spec = child != nullptr ? child->spec : nullptr;
    if (spec != nullptr && spec->kind == ui::ControlKind::ClickArea) {
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    }
    if (spec != nullptr && spec->page >= 0 && spec->kind != ui::ControlKind::Memo) {
        return PagePaper(dc, control);
    }
    SetTextColor(dc, spec != nullptr && spec->ink ? ToColorRef(*spec->ink)
                                                  : GetSysColor(COLOR_WINDOWTEXT));
    const bool white = editable || (spec != nullptr && spec->paper == ui::colour::White);
    SetBkColor(dc, white ? RGB(255, 255, 255) : GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(white ? white_.Get() : buttonFace_.Get());
}

// Labels and check boxes on a tab page show the page's own paper (which a
// theme may draw in another colour than the dialog's): a brush of the tab
// control's picture, aligned to the control.
LRESULT DialogWindow::PagePaper(HDC dc, HWND control) {
    if (!pagePaper_) {
        RECT area;
        GetClientRect(tabs_, &area);
        WindowDc screen(tabs_);
        MemoryDc memory(CreateCompatibleDC(screen.Get()));
        Bitmap picture(CreateCompatibleBitmap(screen.Get(), area.right, area.bottom));
        {
            SelectGuard select(memory.Get(), picture.Get());
            FillRect(memory.Get(), &area, buttonFace_.Get());
            SendMessageW(tabs_, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.Get()),
                         PRF_CLIENT | PRF_ERASEBKGND);
        }
        pagePaper_.Reset(CreatePatternBrush(picture.Get()));
    }
    RECT bounds;
    GetWindowRect(control, &bounds);
    MapWindowPoints(nullptr, tabs_, reinterpret_cast<POINT*>(&bounds), 2);
    SetBrushOrgEx(dc, -bounds.left, -bounds.top, nullptr);
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(pagePaper_.Get());
}

LRESULT DialogWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: {
        RECT area;
        GetClientRect(Handle(), &area);
        FillRect(reinterpret_cast<HDC>(wParam), &area, buttonFace_.Get());
        return 1;
    }
    case WM_DRAWITEM:
        DrawPicture(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
        return Colour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam),
                      message == WM_CTLCOLOREDIT);
    case WM_COMMAND:
        // Escape, as the dialog keys give it: the close box's way out.
        if (LOWORD(wParam) == IDCANCEL && lParam == 0) {
            CloseBoxClicked();
        } else if (HIWORD(wParam) == BN_CLICKED && lParam != 0) {
            if (const Child* child = FindWindow(reinterpret_cast<HWND>(lParam))) {
                Clicked(child->spec->name);
            }
        }
        return 0;
    case WM_NOTIFY:
        if (reinterpret_cast<const NMHDR*>(lParam)->code == TCN_SELCHANGE) {
            ShowPage(CurrentPage());
        }
        return 0;
    case WM_SIZE:
        LayOutDocks();
        Resized();
        return 0;
    case WM_CLOSE:
        CloseBoxClicked();
        return 0;
    case WM_DPICHANGED:
        ApplyDpi({HIWORD(wParam)}, *reinterpret_cast<const RECT*>(lParam));
        return 0;
    default:
        return Default(message, wParam, lParam);
    }
}

bool DialogWindow::PreTranslate(MSG& message) {
    return IsDialogMessageW(Handle(), &message) != FALSE;
}

} // namespace qvs::win32
