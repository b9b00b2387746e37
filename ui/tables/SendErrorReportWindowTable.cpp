// The error report window: three instructions, the editable report text and
// two picture buttons whose pictures light up under the pointer.
#include "ui/tables/Catalogue.h"

#include <array>

namespace qvs::ui {

namespace {

using enum ControlKind;
using enum PictureId;

constexpr ControlSpec Instruction(std::string_view name, int top, std::string_view caption) {
    return {.name = name,
            .kind = Label,
            .bounds = {7, top},
            .caption = caption,
            .font = FontId::ReportInstruction,
            .ink = colour::Orange,
            .autoSize = true};
}

constexpr ControlSpec Art(std::string_view name, Rect bounds, PictureId id, bool visible) {
    return {.name = name, .kind = Picture, .bounds = bounds, .picture = id, .visible = visible};
}

constexpr ControlSpec Hot(std::string_view name, Rect bounds, PictureId off, PictureId on) {
    return {.name = name, .kind = ClickArea, .bounds = bounds, .picture = off, .hoverPicture = on};
}

constexpr std::array Controls = {
    Instruction("Label1", 9, "Please send this error report! "),
    Instruction("Label2", 33, "1)Press the Send Error report. "),
    Instruction("Label3", 57, "2)click on the body of the email and press <control><v>  "),
    ControlSpec{.name = "memErrorLog",
                .kind = Memo,
                .bounds = {8, 96, 409, 137},
                .ink = colour::Black,
                .paper = colour::White,
                .memo = {.verticalScrollBar = true, .horizontalScrollBar = true}},
    Art("imgSendErrorReportOff", {24, 248, 160, 22}, SendErrorReportOff, true),
    Art("imgSendErrorReportOn", {24, 248, 160, 22}, SendErrorReportOn, false),
    Art("imgCancelOff", {312, 248, 66, 24}, CancelOff, true),
    Art("imgCancelOn", {312, 248, 66, 24}, CancelOn, false),
    Hot("btnSendErrorReport", {24, 248, 160, 22}, SendErrorReportOff, SendErrorReportOn),
    Hot("btnDontSend", {312, 247, 66, 24}, CancelOff, CancelOn),
};

constexpr WindowSpec Window = {
    .name = "frmSendErrorReport",
    .caption = "Send Your Error Report",
    .width = 432,
    .height = 279,
    .launcherIcon = true,
    .controls = Controls,
};

} // namespace

const WindowSpec& SendErrorReportWindowTable() {
    return Window;
}

} // namespace qvs::ui
