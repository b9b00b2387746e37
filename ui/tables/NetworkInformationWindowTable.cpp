// The network information window: one of two explanations (mem2 lies over
// mem1) and the switch that stops it for good.
#include "launcher/NetworkInformationText.h"
#include "ui/tables/Catalogue.h"

#include <array>

namespace qvs::ui {

namespace {

using enum ControlKind;

constexpr MemoStyle Style{
    .readOnly = true, .verticalScrollBar = true, .wordWrap = true, .buttonFacePaper = true};

constexpr std::array Controls = {
    ControlSpec{.name = "mem1",
                .kind = Memo,
                .bounds = {0, 0, 329, 153},
                .memo = Style,
                .lines = AddressDifferenceLines},
    ControlSpec{.name = "mem2",
                .kind = Memo,
                .bounds = {-3, 0, 329, 153},
                .memo = Style,
                .lines = SlowContactLines},
    ControlSpec{.name = "cbDoNotDisplayThisMessageInTheFuture",
                .kind = CheckBox,
                .bounds = {16, 160, 249, 17},
                .caption = "Do Not Display This Message In The Future"},
};

constexpr WindowSpec Window = {
    .name = "frmTCP_UDP_Information",
    .caption = "TCP/UDP Information",
    .width = 334,
    .height = 184,
    .controls = Controls,
};

} // namespace

const WindowSpec& NetworkInformationWindowTable() {
    return Window;
}

} // namespace qvs::ui
