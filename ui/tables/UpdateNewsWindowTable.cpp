// The update news window: a browser view filling a sizeable window. The
// caption stays "Update News" for the news page; a notice brings its own.
#include "ui/tables/Catalogue.h"

#include <array>

namespace qvs::ui {

namespace {

constexpr std::array Controls = {
    ControlSpec{.name = "wb", .kind = ControlKind::Browser, .dock = Dock::Fill},
};

constexpr WindowSpec Window = {
    .name = "frmUpdateNews",
    .caption = "Update News",
    .width = 800,
    .height = 480,
    .border = Border::Sizeable,
    .launcherIcon = true,
    .controls = Controls,
};

} // namespace

const WindowSpec& UpdateNewsWindowTable() {
    return Window;
}

} // namespace qvs::ui
