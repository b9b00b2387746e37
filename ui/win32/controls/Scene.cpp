#include "ui/win32/controls/Scene.h"

#include "ui/tables/Catalogue.h"
#include "ui/win32/base/MessagePump.h"
#include "ui/win32/base/Text.h"
#include "ui/win32/controls/Resources.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>

namespace qvs::win32 {

namespace {

// COLORREF is BGR.
COLORREF ColourOf(ui::Rgb rgb) {
    return RGB(rgb.r, rgb.g, rgb.b);
}

} // namespace

Scene::Scene(const ui::WindowSpec& table, HWND parent, Dpi dpi)
    : table_(table), parent_(parent), dpi_(dpi), fonts_(dpi) {
    for (const ui::ControlSpec& row : table.controls) {
        if (row.picture != ui::PictureId::None && !pictures_.contains(row.picture)) {
            pictures_.emplace(row.picture,
                              Picture::Decode(ResourceBytes(ui::PictureFile(row.picture)), dpi));
        }
        const HFONT font = row.kind == ui::ControlKind::Label ? fonts_.Get(row.font) : nullptr;
        controls_.push_back(std::make_unique<TableControl>(*this, row, parent, font));
    }
}

Scene::~Scene() {
    controls_.clear(); // the windows go before the fonts they use
}

TableControl& Scene::operator[](std::string_view name) const {
    for (const auto& control : controls_) {
        if (control->Name() == name) {
            return *control;
        }
    }
    throw std::out_of_range("no control " + std::string(name));
}

void Scene::SetCaption(std::string_view control, const std::string& text) {
    (*this)[control].SetCaption(text);
}

void Scene::SetVisible(std::string_view control, bool visible) {
    (*this)[control].SetVisible(visible);
}

bool Scene::IsVisible(std::string_view control) const {
    return (*this)[control].IsVisible();
}

void Scene::SetWidth(std::string_view control, int width) {
    (*this)[control].SetWidth(width);
}

// Last in the list is drawn last, and on top of the window's z-order it
// takes the pointer first.
void Scene::BringToFront(std::string_view control) {
    TableControl& raised = (*this)[control];
    const auto found = std::ranges::find_if(
        controls_, [&raised](const auto& candidate) { return candidate.get() == &raised; });
    std::rotate(found, found + 1, controls_.end());
    SetWindowPos(raised.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Invalidate(raised.Bounds());
}

void Scene::ProcessPendingMessages() {
    PumpMessages(Pump::Pending);
}

void Scene::ApplyDpi(Dpi dpi) {
    dpi_ = dpi;
    // The old fonts go once every control holds its new one.
    const FontCache old = std::exchange(fonts_, FontCache(dpi));
    for (auto& [id, picture] : pictures_) {
        picture = Picture::Decode(ResourceBytes(ui::PictureFile(id)), dpi);
    }
    for (const auto& control : controls_) {
        const ui::ControlSpec& row = control->Row();
        control->ApplyDpi(row.kind == ui::ControlKind::Label ? fonts_.Get(row.font) : nullptr);
    }
    dirty_ = true;
    RedrawWindow(parent_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void Scene::Invalidate(const RECT& area) {
    dirty_ = true;
    RedrawWindow(parent_, &area, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void Scene::Paint(HDC target, const RECT& area, POINT origin) {
    if (dirty_) {
        Compose();
    }
    BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top,
           buffer_.Dc(), area.left + origin.x, area.top + origin.y, SRCCOPY);
}

void Scene::Compose() {
    const SIZE size{dpi_.Scale(table_.width), dpi_.Scale(table_.height)};
    {
        const WindowDc screen(parent_);
        buffer_.Prepare(screen.Get(), size);
    }
    const RECT all{0, 0, size.cx, size.cy};
    FillRect(buffer_.Dc(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    for (const auto& control : controls_) {
        if (control->IsVisible()) {
            Draw(buffer_.Dc(), *control);
        }
    }
    dirty_ = false;
}

// The picture, then the caption over it, cut at the bounds as the Qt labels
// cut theirs: a change invalidates only the bounds.
void Scene::Draw(HDC dc, const TableControl& control) {
    RECT bounds = control.Bounds();
    const ui::ControlSpec& row = control.Row();
    if (const auto picture = pictures_.find(row.picture); picture != pictures_.end()) {
        picture->second.Draw(dc, {bounds.left, bounds.top},
                             {bounds.right - bounds.left, bounds.bottom - bounds.top});
    }
    const std::wstring caption = Widen(control.Caption());
    if (row.kind != ui::ControlKind::Label || caption.empty()) {
        return;
    }
    const SelectGuard font(dc, control.FontHandle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColourOf(control.Ink()));
    const UINT align = row.align == ui::Align::Centre ? DT_CENTER : DT_LEFT;
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &bounds,
              align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

} // namespace qvs::win32
