// The troubleshooting window: an introduction and six steps, one tab each.
#include "launcher/TroubleshootingText.h"
#include "ui/tables/Catalogue.h"

#include <array>

namespace qvs::ui {

namespace {

using enum ControlKind;

// Every memo of the window: read-only, word-wrapped, on the button face.
constexpr MemoStyle Plain{.readOnly = true, .wordWrap = true, .buttonFacePaper = true};
constexpr MemoStyle Scrolled{
    .readOnly = true, .verticalScrollBar = true, .wordWrap = true, .buttonFacePaper = true};

constexpr ControlSpec Heading(int page, std::string_view name, int x, int y,
                              std::string_view caption) {
    return {.name = name,
            .kind = Label,
            .bounds = {x, y},
            .caption = caption,
            .font = FontId::StepHeading,
            .autoSize = true,
            .page = page};
}

constexpr ControlSpec Explanation(int page, std::string_view name, Rect bounds, MemoLines lines,
                                  MemoStyle style = Plain) {
    return {.name = name,
            .kind = ControlKind::Memo,
            .bounds = bounds,
            .page = page,
            .memo = style,
            .lines = lines};
}

constexpr ControlSpec Push(int page, std::string_view name, Rect bounds, std::string_view caption) {
    return {.name = name, .kind = Button, .bounds = bounds, .caption = caption, .page = page};
}

constexpr std::array Tabs = {
    TabSpec{"tsIntro", "Intro"},
    TabSpec{"tsJavaVersion", "Step 1 (Java)"},
    TabSpec{"tsQVSC", "Step 2 (QVSC.ecd)"},
    TabSpec{"tsQVS", "Step 3 (QVS.dat)"},
    TabSpec{"tsPatchRedownload", "Step 4 (Patch)"},
    TabSpec{"tsFAQ", "Step 5 (Trouble Shooting)"},
    TabSpec{"tsBugReport", "Step 6 (Bug Report)"},
};

constexpr std::array Controls = {
    ControlSpec{.name = "PageControl1", .kind = TabControl, .bounds = {0, 0, 641, 388}},
    Explanation(0, "Memo1", {0, 40, 609, 209}, TroubleshootingIntroLines),
    Heading(1, "Label2", 8, 8, "Step 1.A  Determine your current Java Version"),
    Push(1, "btnDetermineJavaVersion", {384, 4, 97, 25}, "Determine Now"),
    Explanation(1, "memJavaVersion", {0, 32, 592, 81}, nullptr, Scrolled),
    Heading(1, "Label3", 0, 126,
            "Step 1.B  Download Latest Version if the above is not 1.4.2 or greater"),
    Explanation(1, "Memo3", {0, 144, 592, 177}, nullptr, Scrolled),
    Push(1, "btnEnglishAutomatic", {115, 324, 154, 25}, "Get Java English (Automatic)"),
    Push(1, "btnNonEnglish", {323, 324, 154, 25}, "Get Non-English Java"),
    Heading(2, "Label1", 8, 8, "Step 2: Delete QVSC.ecd"),
    Explanation(2, "Memo2", {0, 32, 592, 89}, TroubleshootingClientCodeLines),
    Push(2, "btnDeleteQVSC_ECD", {239, 132, 113, 25}, "Delete QVSC.ecd"),
    Heading(3, "Label4", 8, 8, "Step 3: Delete QVS.dat"),
    Explanation(3, "Memo4", {0, 32, 592, 113}, TroubleshootingDataFilesLines),
    Push(3, "btnDeleteQVS_dat", {239, 156, 113, 25}, "Delete QVS.dat"),
    Heading(4, "Label5", 8, 8, "Step 4: Check for the latest patches and downloads"),
    Explanation(4, "Memo5", {0, 32, 592, 89}, TroubleshootingPatchLines),
    Push(4, "btnPatchDownload", {216, 128, 161, 25}, "Look for Patch or Redownload"),
    Heading(5, "Label6", 8, 8, "Step 5: Trouble Shooting Communication Problems"),
    Explanation(5, "Memo6", {0, 32, 592, 121}, TroubleshootingNetworkLines),
    Push(5, "btnTroubleShooting", {235, 160, 121, 25}, "Trouble Shooting"),
    Heading(6, "Label7", 8, 8, "Step 6: Submit a Bug Report"),
    Explanation(6, "Memo7", {0, 32, 592, 97}, TroubleshootingBugReportLines),
    Push(6, "btnSubmitBugReport", {235, 136, 121, 25}, "Submit Bug Report"),
};

constexpr WindowSpec Window = {
    .name = "frmProblems",
    .caption = "Quorvash Problems",
    .width = 641,
    .height = 388,
    .stayOnTop = true,
    .tabs = Tabs,
    .controls = Controls,
};

} // namespace

const WindowSpec& ProblemsWindowTable() {
    return Window;
}

} // namespace qvs::ui
