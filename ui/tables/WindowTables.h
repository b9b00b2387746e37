// The launcher's windows as data: every control's name, kind, bounds,
// caption, font, colours and pictures, written once here and read by each
// front end (Qt on Linux, Win32 on Windows), which builds its controls from
// them. No toolkit type appears here: sizes are client pixels at 96 DPI,
// colours RGB, fonts and pictures ids into the catalogue (Catalogue.h).
#pragma once

#include "launcher/HelpText.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qvs::ui {

// Left, top, width and height in client pixels at 96 DPI, relative to the
// control's parent: the window's client area, the tab page's area (page >= 0)
// or the control named as parent. A label that sizes itself to its caption
// (autoSize) gives only its top-left corner; width and height are 0.
struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

enum class ControlKind {
    Picture,   // draws its picture at its top-left corner, clipped to its size
    ClickArea, // an invisible picture control that takes the pointer
    Label,     // transparent text
    Button,    // a push button
    CheckBox,
    Memo,        // multi-line text
    TabControl,  // the window's tab pages (WindowSpec::tabs)
    Panel,       // a borderless container of other controls
    Browser,     // an embedded web browser view
    MediaPlayer, // the hidden click-sound player
};

enum class FontId {
    Window,            // MS Sans Serif 11 px: every window's own font
    ServerStatus,      // Times New Roman 21 px bold italic
    ForgotLogin,       // Times New Roman 13 px bold italic
    DownloadingUpdate, // MS Sans Serif 20 px bold
    Counter,           // MS Sans Serif 13 px
    Help,              // Times New Roman 15 px
    Percent,           // Times New Roman 12 px
    StepHeading,       // MS Sans Serif 13 px bold italic
    ReportInstruction, // Times New Roman 15 px bold italic
};

enum class PictureId {
    None,
    Background,
    HighlightLiveChat,
    HighlightAccountSignup,
    HighlightRegisterAccount,
    HighlightViewWebsite,
    HighlightGameForum,
    HighlightProblems,
    HighlightClans,
    HighlightPlayGame,
    HighlightExit,
    Status,
    DownloadBarBg,
    DownloadBar,
    SendErrorReportOff,
    SendErrorReportOn,
    CancelOff,
    CancelOn,
};

// Horizontal placement of a caption; a centred label is centred vertically too.
enum class Align { Left, Centre };

// How a control follows its parent's size. Fill and Bottom controls are laid
// out in table order: Bottom ones take their height at the parent's foot,
// the Fill one takes what is left.
enum class Dock { None, Fill, Bottom };

struct MemoStyle {
    bool readOnly = false;
    bool verticalScrollBar = false;
    bool horizontalScrollBar = false;
    bool wordWrap = false;
    bool buttonFacePaper = false; // the system's button-face colour as paper
};

// The lines a memo starts with, made by the launcher core (some hold build
// settings, so they are not constant captions).
using MemoLines = std::vector<std::string> (*)();

struct ControlSpec {
    std::string_view name;
    ControlKind kind = ControlKind::Picture;
    Rect bounds;
    // UTF-8 and exact: trailing blanks are part of the caption.
    std::string_view caption;
    FontId font = FontId::Window;
    std::optional<Rgb> ink;   // none: the system's text colour
    std::optional<Rgb> paper; // none: transparent or the system's colour
    PictureId picture = PictureId::None;
    // A click area with both ids swaps the controls that show them: while the
    // pointer is over it, the picture control of hoverPicture shows and the
    // one of picture hides.
    PictureId hoverPicture = PictureId::None;
    bool visible = true;
    bool autoSize = false; // labels: sized to the caption, again at each change
    Align align = Align::Left;
    int tag = 0;             // a menu button's Tag (MainMenu.h): its click area and highlight
    int tabOrder = -1;       // -1: the front end's default order
    int page = -1;           // -1: on the window or its parent; else the tab's index
    std::string_view parent; // empty: the window (or the tab page)
    Dock dock = Dock::None;
    std::string_view hint; // tool tip
    MemoStyle memo;
    MemoLines lines = nullptr; // memos: their starting text, one entry a line
};

struct TabSpec {
    std::string_view name;
    std::string_view caption;
};

// A timer of the window, in milliseconds. An enabled one runs once the
// window's start-up is done; the others wait for the launcher's logic.
struct TimerSpec {
    std::string_view name;
    int interval = 0;
    bool enabled = false;
};

enum class Border {
    None,     // no frame and no caption bar
    Dialog,   // fixed size, caption bar with the close box only
    Sizeable, // resizable, with minimise and maximise boxes
};

struct WindowSpec {
    std::string_view name; // "frmMain"
    std::string_view caption;
    // The client area; for sizeable windows the outer size, frame included.
    int width = 0;
    int height = 0;
    Border border = Border::Dialog;
    bool stayOnTop = false;
    bool launcherIcon = false; // shows the launcher's icon in its caption bar
    FontId font = FontId::Window;
    std::span<const TabSpec> tabs;         // pages of the window's TabControl
    std::span<const ControlSpec> controls; // stacking order, bottom first
    std::span<const HelpLines> helpLines;  // the menu buttons' help, by Tag - 1
    std::span<const TimerSpec> timers;
};

const WindowSpec& MainWindowTable();
const WindowSpec& ProblemsWindowTable();
const WindowSpec& SendErrorReportWindowTable();
const WindowSpec& ProblemsWithUpdaterWindowTable();
const WindowSpec& NetworkInformationWindowTable();
const WindowSpec& UpdateNewsWindowTable();
const WindowSpec& ChatWindowTable();

// Every window, for loops over all of them (tests, resource lists).
std::span<const WindowSpec* const> AllWindowTables();

// The control of that name; throws std::out_of_range for an unknown name,
// which is a fault of the calling code.
const ControlSpec& Lookup(const WindowSpec& window, std::string_view name);
const TimerSpec& LookupTimer(const WindowSpec& window, std::string_view name);

} // namespace qvs::ui
