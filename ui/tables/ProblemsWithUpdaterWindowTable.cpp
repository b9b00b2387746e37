// The "Automatic Updater Error" window: why the update pass failed, a switch
// to stop showing it, the error report, and the choice between the manual
// patch and playing anyway.
#include "ui/tables/Catalogue.h"

#include <array>

namespace qvs::ui {

namespace {

using enum ControlKind;

constexpr std::array Controls = {
    ControlSpec{.name = "memDisplay",
                .kind = Memo,
                .bounds = {0, 0, 369, 113},
                .tabOrder = 2,
                .memo = {.readOnly = true,
                         .verticalScrollBar = true,
                         .wordWrap = true,
                         .buttonFacePaper = true}},
    ControlSpec{.name = "cbDisableAutomaticUpdateErrorDisplay",
                .kind = CheckBox,
                .bounds = {24, 120, 313, 17},
                .caption = "Disable Automatic Update Errors From Being Displayed",
                .tabOrder = 3},
    ControlSpec{.name = "Button1",
                .kind = Button,
                .bounds = {24, 144, 329, 25},
                .caption = "Send This Error To the Developers (Recomended)",
                .tabOrder = 4},
    ControlSpec{.name = "btnOk",
                .kind = Button,
                .bounds = {24, 176, 329, 25},
                .caption = "Download New Patch (If problem persists this may be necessary)",
                .tabOrder = 0,
                .hint = "Press Ok to Download the latest Patch"},
    ControlSpec{.name = "btnCancel",
                .kind = Button,
                .bounds = {24, 208, 329, 25},
                .caption = "Just Ignore This I want To see If I can Still Play the Game",
                .tabOrder = 1,
                .hint = "Press Cancel to Play the game without downloading a new patch."},
};

constexpr WindowSpec Window = {
    .name = "frmProblemsWithUpdater",
    .caption = "Automatic Updater Error",
    .width = 378,
    .height = 249,
    .controls = Controls,
};

} // namespace

const WindowSpec& ProblemsWithUpdaterWindowTable() {
    return Window;
}

} // namespace qvs::ui
