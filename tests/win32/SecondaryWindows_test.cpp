// The secondary windows as the player meets them, read back through the
// Win32 API: every control of a window's table with its class, text,
// bounds, font and visibility, the tab texts, the caption and size; and the
// browser windows' fallback where Wine has no HTML engine: the page goes to
// the default browser (a stand-in xdg-open records it) and no window stays.
#include "BuildSettings.h"
#include "launcher/ChatBanner.h"
#include "launcher/ProcessValues.h"
#include "support/RecordingPrompts.h"
#include "support/RecordingShell.h"
#include "support/TempDir.h"
#include "ui/tables/Catalogue.h"
#include "ui/win32/app/Win32Shell.h"
#include "ui/win32/base/Text.h"
#include "ui/win32/browser/HtmlEngine.h"
#include "ui/win32/controls/Fonts.h"
#include "ui/win32/controls/Picture.h"
#include "ui/win32/windows/TfrmChat.h"
#include "ui/win32/windows/TfrmProblems.h"
#include "ui/win32/windows/TfrmProblemsWithUpdater.h"
#include "ui/win32/windows/TfrmSendErrorReport.h"
#include "ui/win32/windows/TfrmTCP_UDP_Information.h"
#include "ui/win32/windows/TfrmUpdateNews.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <thread>

namespace qvs::win32 {
namespace {

using namespace std::chrono_literals;

// What every window needs besides its owner, with the seams recorded.
struct Seams {
    test::TempDir dir;
    test::RecordingShell shell;
    test::RecordingPrompts prompts;
    ProcessValues values{dir.Str()};
};

using Factory = std::function<std::unique_ptr<DialogWindow>(Seams&)>;

const std::pair<const ui::WindowSpec&, Factory> Windows[] = {
    {ui::ProblemsWindowTable(),
     [](Seams& s) {
         return std::make_unique<TfrmProblems>(nullptr, s.dir.Str(), s.shell, s.prompts);
     }},
    {ui::SendErrorReportWindowTable(),
     [](Seams& s) {
         return std::make_unique<TfrmSendErrorReport>(nullptr, s.dir.File("qvs.cfg"),
                                                      s.dir.File("log"), s.shell, nullptr);
     }},
    {ui::ProblemsWithUpdaterWindowTable(),
     [](Seams& s) {
         return std::make_unique<TfrmProblemsWithUpdater>(nullptr, s.values, nullptr);
     }},
    {ui::NetworkInformationWindowTable(),
     [](Seams&) { return std::make_unique<TfrmTCP_UDP_Information>(nullptr); }},
    {ui::UpdateNewsWindowTable(),
     [](Seams& s) { return std::make_unique<TfrmUpdateNews>(nullptr, s.shell); }},
    {ui::ChatWindowTable(), [](Seams& s) { return std::make_unique<TfrmChat>(nullptr, s.shell); }},
};

std::string ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return Narrow(name);
}

std::string ExpectedClass(ui::ControlKind kind) {
    using enum ui::ControlKind;
    switch (kind) {
    case Button:
    case CheckBox:
        return "Button";
    case Memo:
        return "Edit";
    case TabControl:
        return "SysTabControl32";
    default:
        return "Static";
    }
}

RECT BoundsIn(HWND window) {
    RECT bounds;
    GetWindowRect(window, &bounds);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&bounds), 2);
    return bounds;
}

std::string Lines(const ui::ControlSpec& control) {
    std::string text;
    for (const std::string& line : control.lines()) {
        text += line + "\r\n";
    }
    return text.substr(0, text.size() - 2);
}

class SecondaryWindowsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        gdiplus_ = std::make_unique<GdiplusSession>();
        fonts_ = std::make_unique<PrivateFonts>();
        OleInitialize(nullptr);
    }

    static inline std::unique_ptr<GdiplusSession> gdiplus_;
    static inline std::unique_ptr<PrivateFonts> fonts_;
};

// One loop over every window and every control of its table.
TEST_F(SecondaryWindowsTest, ControlsCarryTheirTables) {
    for (const auto& [table, make] : Windows) {
        SCOPED_TRACE(std::string(table.name));
        Seams seams;
        const std::unique_ptr<DialogWindow> window = make(seams);
        const HWND frame = window->Handle();
        wchar_t caption[128] = {};
        GetWindowTextW(frame, caption, 128);
        EXPECT_EQ(Narrow(caption), table.caption);
        RECT size;
        if (table.border == ui::Border::Sizeable) {
            GetWindowRect(frame, &size);
        } else {
            GetClientRect(frame, &size);
        }
        // A sizeable window is never made larger than the screen allows.
        const Dpi dpi = window->WindowDpi();
        const bool sizeable = table.border == ui::Border::Sizeable;
        EXPECT_EQ(
            size.right - size.left,
            std::min(dpi.Scale(table.width), sizeable ? GetSystemMetrics(SM_CXMAXTRACK) : INT_MAX));
        EXPECT_EQ(size.bottom - size.top,
                  std::min(dpi.Scale(table.height),
                           sizeable ? GetSystemMetrics(SM_CYMAXTRACK) : INT_MAX));
        RECT page{};
        if (const HWND tabs = FindWindowExW(frame, nullptr, WC_TABCONTROLW, nullptr)) {
            ASSERT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), std::ssize(table.tabs));
            for (std::size_t i = 0; i < table.tabs.size(); ++i) {
                wchar_t text[64] = {};
                TCITEMW item{TCIF_TEXT, 0, 0, text, 64, 0, 0};
                SendMessageW(tabs, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
                EXPECT_EQ(Narrow(text), table.tabs[i].caption);
            }
            GetClientRect(tabs, &page);
            TabCtrl_AdjustRect(tabs, FALSE, &page);
        }
        for (const ui::ControlSpec& control : table.controls) {
            SCOPED_TRACE(std::string(control.name));
            const HWND child = window->Control(control.name);
            ASSERT_NE(child, nullptr);
            EXPECT_EQ(ClassOf(child), ExpectedClass(control.kind));
            const bool onPage = control.page < 0 || control.page == window->CurrentPage();
            EXPECT_EQ((GetWindowLongPtrW(child, GWL_STYLE) & WS_VISIBLE) != 0,
                      control.visible && onPage);
            if (control.kind == ui::ControlKind::Label || control.kind == ui::ControlKind::Button ||
                control.kind == ui::ControlKind::CheckBox) {
                EXPECT_EQ(window->Text(control.name), control.caption);
            }
            if (control.lines != nullptr) {
                EXPECT_EQ(window->Text(control.name), Lines(control));
            }
            const RECT bounds = BoundsIn(child);
            const int left = control.page >= 0 ? page.left : 0;
            const int top = control.page >= 0 ? page.top : 0;
            const ui::Rect& b = control.bounds;
            if (control.dock == ui::Dock::None) {
                EXPECT_EQ(bounds.left - left, dpi.Scale(b.x));
                EXPECT_EQ(bounds.top - top, dpi.Scale(b.y));
                if (!control.autoSize) {
                    EXPECT_EQ(bounds.right - left, dpi.Scale(b.x + b.width));
                    EXPECT_EQ(bounds.bottom - top, dpi.Scale(b.y + b.height));
                }
            }
            LOGFONTW font{};
            GetObjectW(reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)), sizeof font,
                       &font);
            const ui::FontSpec& spec = ui::Font(control.font);
            EXPECT_EQ(Narrow(font.lfFaceName), spec.bundledFamily);
            EXPECT_EQ(font.lfHeight, -dpi.Scale(spec.pixelHeight));
        }
    }
}

// Where no HTML engine can be created (Wine here), each browser window hands
// its page to the default browser: Wine's ShellExecute starts xdg-open, a
// stand-in that appends its argument to the file QVS_XDG_OPEN_LOG names.
TEST_F(SecondaryWindowsTest, BrowserWindowsFallBackToTheDefaultBrowser) {
    ASSERT_FALSE(HtmlEngineAvailable());
    const char* log = std::getenv("QVS_XDG_OPEN_LOG");
    ASSERT_NE(log, nullptr) << "the test runs with a stand-in xdg-open";
    const std::string logFile = std::string("Z:") + log;
    const std::string news =
        std::string("http://") + build::UpdateWebHost + "/updates/update_news.html";
    const std::pair<std::function<void(IShell&)>, std::string> rows[] = {
        {[&news](IShell& shell) {
             TfrmUpdateNews window(nullptr, shell);
             window.Navigate(news);
             EXPECT_EQ(window.ShowModal(), ModalResult::Cancel);
         },
         news},
        {[](IShell& shell) {
             TfrmChat window(nullptr, shell);
             EXPECT_EQ(window.ShowModal(), ModalResult::Cancel);
         },
         ChatPage()},
    };
    Win32Shell shell;
    for (const auto& [show, url] : rows) {
        SCOPED_TRACE(url);
        std::remove(logFile.c_str());
        const auto start = std::chrono::steady_clock::now();
        show(shell);
        EXPECT_LT(std::chrono::steady_clock::now() - start, 2s) << "no wait without an engine";
        // No window of ours stays, blank or not.
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND window, LPARAM) {
                EXPECT_FALSE(IsWindowVisible(window)) << ClassOf(window);
                return TRUE;
            },
            0);
        std::string opened;
        for (int i = 0; i < 100 && opened.empty(); ++i) {
            std::this_thread::sleep_for(100ms);
            std::ifstream file(logFile);
            std::getline(file, opened);
        }
        EXPECT_EQ(opened, url);
    }
}

} // namespace
} // namespace qvs::win32
