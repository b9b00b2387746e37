// The launcher's windows as the player meets them, read back through the
// Win32 API: every control of every window carries the class, caption,
// bounds, visibility and font of its table at the DPI Wine runs at; the
// private fonts resolve, captions fit, and the composed picture shows the
// art and the text.
#include "launcher/ProcessValues.h"
#include "support/RecordingPrompts.h"
#include "support/RecordingShell.h"
#include "support/TempDir.h"
#include "ui/tables/Catalogue.h"
#include "ui/win32/base/Handles.h"
#include "ui/win32/base/Text.h"
#include "ui/win32/controls/Fonts.h"
#include "ui/win32/controls/Picture.h"
#include "ui/win32/windows/TfrmMain.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace qvs::win32 {
namespace {

// What the process keeps for every window: GDI+, the private fonts.
class WindowsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        gdiplus_ = std::make_unique<GdiplusSession>();
        fonts_ = std::make_unique<PrivateFonts>();
    }
    static void TearDownTestSuite() {
        fonts_.reset();
        gdiplus_.reset();
    }

    test::TempDir dir;
    ProcessValues values{dir.Path().string() + "\\"};
    test::RecordingPrompts prompts;
    test::RecordingShell shell;

    static std::unique_ptr<GdiplusSession> gdiplus_;
    static std::unique_ptr<PrivateFonts> fonts_;
};
std::unique_ptr<GdiplusSession> WindowsTest::gdiplus_;
std::unique_ptr<PrivateFonts> WindowsTest::fonts_;

std::string ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return Narrow(name);
}

std::string TextOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return Narrow(text);
}

RECT BoundsIn(HWND window, HWND parent) {
    RECT bounds{};
    GetWindowRect(window, &bounds);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&bounds), 2);
    return bounds;
}

// The children bottom to top, as the tables list them.
std::vector<HWND> ChildrenBottomUp(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(GetWindow(parent, GW_CHILD), GW_HWNDLAST); child != nullptr;
         child = GetWindow(child, GW_HWNDPREV)) {
        children.push_back(child);
    }
    return children;
}

std::string ExpectedClass(ui::ControlKind kind) {
    switch (kind) {
    case ui::ControlKind::Label:
        return "TLabel";
    case ui::ControlKind::MediaPlayer:
        return "TMediaPlayer";
    default:
        return "TImage";
    }
}

// The face GDI really chose for the font: a private font that did not load
// falls back to another one here.
std::string FaceOf(HFONT font) {
    const WindowDc dc(nullptr);
    const SelectGuard select(dc.Get(), font);
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc.Get(), LF_FACESIZE, face);
    return Narrow(face);
}

SIZE ExtentOf(HFONT font, std::string_view text) {
    const WindowDc dc(nullptr);
    const SelectGuard select(dc.Get(), font);
    const std::wstring wide = Widen(text);
    SIZE extent{};
    GetTextExtentPoint32W(dc.Get(), wide.c_str(), static_cast<int>(wide.size()), &extent);
    return extent;
}

void ExpectControlMatches(const ui::ControlSpec& row, HWND control, HWND parent, Dpi dpi) {
    SCOPED_TRACE(std::string(row.name));
    EXPECT_EQ(ClassOf(control), ExpectedClass(row.kind));
    EXPECT_EQ(TextOf(control), row.caption);
    EXPECT_EQ((GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) != 0, row.visible);
    const RECT bounds = BoundsIn(control, parent);
    const ui::Rect& b = row.bounds;
    EXPECT_EQ(bounds.left, dpi.Scale(b.x));
    EXPECT_EQ(bounds.top, dpi.Scale(b.y));
    const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    if (!row.autoSize) {
        EXPECT_EQ(bounds.right, dpi.Scale(b.x + b.width));
        EXPECT_EQ(bounds.bottom, dpi.Scale(b.y + b.height));
    }
    if (row.kind != ui::ControlKind::Label) {
        return;
    }
    ASSERT_NE(font, nullptr);
    const ui::FontSpec& spec = ui::Font(row.font);
    LOGFONTW logFont{};
    GetObjectW(font, sizeof logFont, &logFont);
    EXPECT_EQ(logFont.lfHeight, -dpi.Scale(spec.pixelHeight));
    EXPECT_EQ(logFont.lfWeight >= FW_BOLD, spec.bold);
    EXPECT_EQ(logFont.lfItalic != 0, spec.italic);
    EXPECT_EQ(FaceOf(font), spec.bundledFamily);
    // The caption fits: a label sized to it, or one of fixed size, holds it.
    const SIZE extent = ExtentOf(font, row.caption);
    EXPECT_LE(extent.cx, bounds.right - bounds.left);
    EXPECT_LE(extent.cy, bounds.bottom - bounds.top);
}

// Each window under test: its table and how to build it.
struct WindowCase {
    const ui::WindowSpec& table;
    std::function<HWND(ProcessValues&, IPrompts&, IShell&, std::shared_ptr<void>&)> build;
};

std::vector<WindowCase> Windows() {
    return {
        {ui::MainWindowTable(),
         [](ProcessValues& values, IPrompts& prompts, IShell& shell, std::shared_ptr<void>& keep) {
             auto window = std::make_shared<TfrmMain>(values, prompts, shell);
             keep = window;
             return window->Handle();
         }},
    };
}

void ExpectWindowMatches(const ui::WindowSpec& table, HWND handle, Dpi dpi) {
    EXPECT_EQ(TextOf(handle), table.caption);
    RECT client{};
    GetClientRect(handle, &client);
    EXPECT_EQ(client.right, dpi.Scale(table.width));
    EXPECT_EQ(client.bottom, dpi.Scale(table.height));
    const std::vector<HWND> children = ChildrenBottomUp(handle);
    ASSERT_EQ(children.size(), table.controls.size());
    for (std::size_t i = 0; i < children.size(); ++i) {
        ExpectControlMatches(table.controls[i], children[i], handle, dpi);
    }
}

// At the session's DPI, and again after a move to a monitor of 1.5 times
// that DPI (Wine has one DPI and never sends WM_DPICHANGED itself); closing
// the window leaves no handle of the RAII layer behind.
TEST_F(WindowsTest, EveryControlCarriesItsTable) {
    for (const WindowCase& window : Windows()) {
        SCOPED_TRACE(std::string(window.table.name));
        const long handlesBefore = LiveHandles();
        std::shared_ptr<void> keep;
        const HWND handle = window.build(values, prompts, shell, keep);
        const Dpi dpi = DpiOf(handle);
        std::printf("%s at %d DPI\n", std::string(window.table.name).c_str(), dpi.value);
        ExpectWindowMatches(window.table, handle, dpi);
        const Dpi moved{dpi.value * 3 / 2};
        RECT suggested{0, 0, moved.Scale(window.table.width), moved.Scale(window.table.height)};
        SendMessageW(handle, WM_DPICHANGED, MAKEWPARAM(moved.value, moved.value),
                     reinterpret_cast<LPARAM>(&suggested));
        ExpectWindowMatches(window.table, handle, moved);
        keep.reset();
        EXPECT_EQ(LiveHandles(), handlesBefore);
    }
}

// The composed picture: the art is there (many colours), and a label shown
// by the logic draws its text in its colour where the table puts it.
TEST_F(WindowsTest, TheMainWindowShowsArtAndText) {
    TfrmMain frmMain(values, prompts, shell);
    frmMain.ShowPeopleOnline(12);
    Scene& scene = frmMain.Controls();
    const Dpi dpi = scene.GetDpi();
    const SIZE size{dpi.Scale(600), dpi.Scale(450)};
    const WindowDc screen(nullptr);
    MemoryDc dc(CreateCompatibleDC(screen.Get()));
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, size.cx, -size.cy, 1, 32, BI_RGB};
    void* bits = nullptr;
    Bitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const SelectGuard select(dc.Get(), bitmap.Get());
    scene.Paint(dc.Get(), {0, 0, size.cx, size.cy}, {0, 0});
    GdiFlush();
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    std::set<std::uint32_t> colours(pixels, pixels + size.cx * size.cy);
    EXPECT_GT(colours.size(), 1000u);
    const RECT label = scene["lblPeopleOnlineDisp"].Bounds();
    int lime = 0;
    for (LONG y = label.top; y < label.bottom; ++y) {
        for (LONG x = label.left; x < label.right; ++x) {
            const std::uint32_t p = pixels[y * size.cx + x];
            lime += ((p >> 8) & 0xFF) > 200 && ((p >> 16) & 0xFF) < 100 ? 1 : 0;
        }
    }
    EXPECT_GT(lime, (label.right - label.left) * (label.bottom - label.top) / 20);
}

} // namespace
} // namespace qvs::win32
