// The live chat window: the chat page above a bottom panel that holds the
// 468 x 60 advertisement banner (kept centred) and its hidden source memo.
#include "launcher/ChatBanner.h"
#include "ui/tables/Catalogue.h"

#include <array>

namespace qvs::ui {

namespace {

using enum ControlKind;

constexpr std::array Controls = {
    ControlSpec{.name = "wbChat", .kind = Browser, .dock = Dock::Fill},
    ControlSpec{.name = "Panel1", .kind = Panel, .bounds = {0, 0, 0, 60}, .dock = Dock::Bottom},
    ControlSpec{.name = "memAdvertisement",
                .kind = Memo,
                .bounds = {7, 35, 209, 25},
                .visible = false,
                .parent = "Panel1",
                .lines = AdvertisementLines},
    ControlSpec{
        .name = "pnlAdvertisement", .kind = Panel, .bounds = {133, 0, 468, 60}, .parent = "Panel1"},
    ControlSpec{.name = "wbAdvertisement",
                .kind = Browser,
                .bounds = {0, 0, 468, 60},
                .parent = "pnlAdvertisement"},
};

// The first banner loads at the first tick; each completed one re-arms it.
constexpr std::array Timers = {TimerSpec{"TimerAd", 1, true}};

constexpr WindowSpec Window = {
    .name = "frmChat",
    .caption = "Quorvash Live Chat",
    .width = 742,
    .height = 581,
    .border = Border::Sizeable,
    .controls = Controls,
    .timers = Timers,
};

} // namespace

const WindowSpec& ChatWindowTable() {
    return Window;
}

} // namespace qvs::ui
