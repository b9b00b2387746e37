// The secondary windows as the player meets them, read back through the
// Win32 API: every control of a window's table with its class, text,
// bounds, font and visibility, the tab texts, the caption and size; and the
// browser windows' fallback where Wine has no HTML engine: the page goes to
// the default browser (a stand-in xdg-open records it) and no window stays.
#include "BuildSettings.h"
#include "launcher/CConfig.h"
#include "launcher/ChatBanner.h"
#include "launcher/ErrorReport.h"
#include "launcher/ProcessValues.h"
#include "support/RawFile.h"
#include "support/RecordingPrompts.h"
#include "support/RecordingShell.h"
#include "support/TempDir.h"
#include "ui/tables/Catalogue.h"
#include "ui/win32/app/Win32Prompts.h"
#include "ui/win32/app/Win32Shell.h"
#include "ui/win32/base/Handles.h"
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
#include <map>
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

std::string TextOf(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return Narrow(text);
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

// The window's caption, size, tabs and every control of its table, at the
// DPI the window is laid out for.
void ExpectTable(DialogWindow& window, const ui::WindowSpec& table) {
    const HWND frame = window.Handle();
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
    const Dpi dpi = window.WindowDpi();
    const bool sizeable = table.border == ui::Border::Sizeable;
    EXPECT_EQ(
        size.right - size.left,
        std::min(dpi.Scale(table.width), sizeable ? GetSystemMetrics(SM_CXMAXTRACK) : INT_MAX));
    EXPECT_EQ(
        size.bottom - size.top,
        std::min(dpi.Scale(table.height), sizeable ? GetSystemMetrics(SM_CYMAXTRACK) : INT_MAX));
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
        // All tabs in view at once: the last one ends inside the control.
        RECT last{};
        SendMessageW(tabs, TCM_GETITEMRECT, table.tabs.size() - 1, reinterpret_cast<LPARAM>(&last));
        EXPECT_LE(last.right, page.right);
        TabCtrl_AdjustRect(tabs, FALSE, &page);
    }
    for (const ui::ControlSpec& control : table.controls) {
        SCOPED_TRACE(std::string(control.name));
        const HWND child = window.Control(control.name);
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(ClassOf(child), ExpectedClass(control.kind));
        const bool onPage = control.page < 0 || control.page == window.CurrentPage();
        EXPECT_EQ((GetWindowLongPtrW(child, GWL_STYLE) & WS_VISIBLE) != 0,
                  control.visible && onPage);
        if (control.kind == ui::ControlKind::Label || control.kind == ui::ControlKind::Button ||
            control.kind == ui::ControlKind::CheckBox) {
            EXPECT_EQ(window.Text(control.name), control.caption);
        }
        if (control.lines != nullptr) {
            EXPECT_EQ(window.Text(control.name), Lines(control));
        }
        const RECT bounds = BoundsIn(child);
        const int left = control.page >= 0 ? page.left : 0;
        const int top = control.page >= 0 ? page.top : 0;
        const ui::Rect& b = control.bounds;
        // The banner panel is kept centred in the window instead.
        if (control.dock == ui::Dock::None && control.name != "pnlAdvertisement") {
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

// One loop over every window and every control of its table, at the DPI of
// the session and again after a move to a monitor of 1.5 times that DPI.
TEST_F(SecondaryWindowsTest, ControlsCarryTheirTables) {
    for (const auto& [table, make] : Windows) {
        SCOPED_TRACE(std::string(table.name));
        Seams seams;
        const long handlesBefore = LiveHandles();
        std::unique_ptr<DialogWindow> window = make(seams);
        ExpectTable(*window, table);
        const HWND frame = window->Handle();
        const Dpi dpi{window->WindowDpi().value * 3 / 2};
        // The frame as the system draws it now (Wine has one DPI for frames).
        RECT outer;
        RECT client;
        GetWindowRect(frame, &outer);
        GetClientRect(frame, &client);
        const bool sizeable = table.border == ui::Border::Sizeable;
        const int frameWidth = sizeable ? 0 : outer.right - outer.left - client.right;
        const int frameHeight = sizeable ? 0 : outer.bottom - outer.top - client.bottom;
        RECT suggested{0, 0, dpi.Scale(table.width) + frameWidth,
                       dpi.Scale(table.height) + frameHeight};
        SendMessageW(frame, WM_DPICHANGED, MAKEWPARAM(dpi.value, dpi.value),
                     reinterpret_cast<LPARAM>(&suggested));
        ASSERT_EQ(window->WindowDpi().value, dpi.value);
        ExpectTable(*window, table);
        // Fonts, brushes, pictures and the window itself all go with it.
        window.reset();
        EXPECT_EQ(LiveHandles(), handlesBefore);
    }
}

// Where no HTML engine can be created (Wine here), each browser window hands
// its page to the default browser: Wine's ShellExecute starts xdg-open, a
// stand-in that appends its argument to the file QVS_XDG_OPEN_LOG names.
TEST_F(SecondaryWindowsTest, BrowserWindowsFallBackToTheDefaultBrowser) {
    ASSERT_FALSE(HtmlEngineAvailable());
    // Where there is an engine, this program asks it for its newest mode.
    RegisterBrowserEmulation();
    DWORD mode = 0;
    DWORD size = sizeof mode;
    EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER,
                           L"Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl"
                           L"\\FEATURE_BROWSER_EMULATION",
                           L"win32_windows_test.exe", RRF_RT_REG_DWORD, nullptr, &mode, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(mode, 11001u);
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
    // The game server's notice has no address: it goes to the default
    // program of HTML files (Wine's is no browser, so it is recorded here).
    test::RecordingShell recorder;
    TfrmUpdateNews notice(nullptr, recorder);
    EXPECT_FALSE(notice.LoadHtml("<p>Down\nfor maintenance</p>"));
    EXPECT_EQ(notice.ShowModal(), ModalResult::Cancel);
    ASSERT_EQ(recorder.files.size(), 1u);
    EXPECT_TRUE(recorder.files[0].path.ends_with("\\QvsNotice.html"));
    std::ifstream file(std::filesystem::path(Widen(recorder.files[0].path)), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}),
              "<p>Down\r\nfor maintenance</p>\r\n");
}

// Runs the action once the modal loop that the caller starts next is running.
void WhileModal(std::function<void()> action) {
    static std::map<UINT_PTR, std::function<void()>> pending;
    const UINT_PTR id = SetTimer(nullptr, 0, 1, [](HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        const auto found = pending.find(id);
        if (found != pending.end()) {
            const std::function<void()> run = std::move(found->second);
            pending.erase(found);
            run();
        }
    });
    pending[id] = std::move(action);
}

// As the player's click arrives: buttons and check boxes tell the window,
// picture buttons take the mouse themselves.
void Click(DialogWindow& window, std::string_view name) {
    const HWND control = window.Control(name);
    if (ClassOf(control) == "Static") {
        SendMessageW(control, WM_LBUTTONUP, 0, 0);
    } else {
        SendMessageW(control, BM_CLICK, 0, 0);
    }
}

std::string ClipboardText() {
    std::string text;
    if (OpenClipboard(nullptr)) {
        if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            text = Narrow(static_cast<const wchar_t*>(GlobalLock(data)));
            GlobalUnlock(data);
        }
        CloseClipboard();
    }
    return text;
}

// Each troubleshooting button closes the reused window with its result after
// opening its page or deleting its files (and saying so, in a real message
// box owned by the window); Determine Now shows the command's output and
// leaves it open.
TEST_F(SecondaryWindowsTest, TroubleshootingButtonsDoTheirWork) {
    const std::string site = build::GameWebSite;
    const struct {
        const char* button;
        ModalResult result;
        std::string url;
        std::vector<const char*> deleted;
    } rows[] = {
        {"btnDetermineJavaVersion", ModalResult::Cancel, "", {}},
        {"btnEnglishAutomatic",
         ModalResult::OK,
         std::string(build::JavaSite) + "/en/download/windows_automatic.jsp",
         {}},
        {"btnNonEnglish", ModalResult::OK, build::JavaSite, {}},
        {"btnDeleteQVSC_ECD", ModalResult::OK, "", {"qvsc.ecd", "qvsc.dat"}},
        {"btnDeleteQVS_dat", ModalResult::OK, "", {"qvs.dat"}},
        {"btnPatchDownload", ModalResult::OK, site + "/download.html", {}},
        {"btnTroubleShooting", ModalResult::Cancel, site + "/troubleshooting.html", {}},
        {"btnSubmitBugReport", ModalResult::Cancel, site + "/bugs.html", {}},
    };
    Seams seams;
    Win32Prompts prompts;
    TfrmProblems window(nullptr, seams.dir.Str(), seams.shell, prompts);
    window.SetJavaVersionCommandLine("cmd.exe /c echo java version \"1.4.2\"");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.button);
        seams.shell.urls.clear();
        for (const char* file : {"qvsc.ecd", "qvsc.dat", "qvs.dat"}) {
            test::WriteRawFile(seams.dir.Path() / file, "data");
        }
        HWND boxOwner = nullptr;
        std::string boxText;
        WhileModal([&] {
            if (!row.deleted.empty()) {
                // The box runs its own loop; this answers it from there.
                WhileModal([&] {
                    const HWND box = GetActiveWindow();
                    boxOwner = GetWindow(box, GW_OWNER);
                    boxText = TextOf(GetDlgItem(box, 0xFFFF));
                    SendMessageW(box, WM_COMMAND, IDOK, 0);
                });
            }
            Click(window, row.button);
            if (window.IsShowing()) {
                PostMessageW(window.Handle(), WM_CLOSE, 0, 0);
            }
        });
        EXPECT_EQ(window.ShowModal(), row.result);
        EXPECT_EQ(seams.shell.urls,
                  row.url.empty() ? std::vector<std::string>{} : std::vector<std::string>{row.url});
        EXPECT_EQ(boxOwner, row.deleted.empty() ? nullptr : window.Handle());
        EXPECT_EQ(boxText.starts_with("Successfully deleted "), !row.deleted.empty()) << boxText;
        for (const char* file : row.deleted) {
            EXPECT_FALSE(std::filesystem::exists(seams.dir.Path() / file)) << file;
        }
    }
    EXPECT_EQ(window.Text("memJavaVersion"), "java version \"1.4.2\"");
}

// The updater error window: OK for the patch, Cancel for playing on or the
// close box; its check box writes the switch at once; its Button1 shows the
// error report over it (owned and blocking it) and it stays open behind.
TEST_F(SecondaryWindowsTest, UpdaterErrorWindowAnswersAndSendsTheReport) {
    Seams seams;
    seams.values.Config = std::make_unique<CConfig>(seams.dir.File("qvs.cfg"));
    test::WriteRawFile(seams.dir.Path() / "qvs.cfg", "[AUI]\r\nCAN_PING=TRUE\r\n");
    const HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 600,
                                       450, nullptr, nullptr, nullptr, nullptr);
    TfrmSendErrorReport report(owner, seams.dir.File("qvs.cfg"), seams.dir.File("log"), seams.shell,
                               nullptr);
    TfrmProblemsWithUpdater window(owner, seams.values, [&report] {
        report.LoadConfiguration();
        report.ShowModal();
    });
    const struct {
        std::vector<const char*> clicks; // the last one closes; empty: the close box
        ModalResult result;
        const char* switchValue;
    } rows[] = {
        {{"btnOk"}, ModalResult::OK, ""},
        {{"cbDisableAutomaticUpdateErrorDisplay", "btnCancel"}, ModalResult::Cancel, "TRUE"},
        {{"cbDisableAutomaticUpdateErrorDisplay"}, ModalResult::Cancel, "FALSE"},
    };
    for (const auto& row : rows) {
        WhileModal([&] {
            for (const char* name : row.clicks) {
                Click(window, name);
            }
            if (window.IsShowing()) {
                PostMessageW(window.Handle(), WM_CLOSE, 0, 0);
            }
        });
        EXPECT_EQ(window.ShowModal({"line 1", "line 2"}), row.result);
        EXPECT_EQ(window.Text("memDisplay"), "line 1\r\nline 2");
        EXPECT_EQ(seams.values.Config->ReadValue("OPTIONS", "DISABLE_ERROR_DISPLAY", ""),
                  row.switchValue);
    }
    bool blocked = false;
    HWND reportOwner = nullptr;
    WhileModal([&] {
        WhileModal([&] {
            blocked = !IsWindowEnabled(window.Handle()) && report.IsShowing();
            reportOwner = GetWindow(report.Handle(), GW_OWNER);
            Click(report, "btnDontSend");
        });
        Click(window, "Button1");
        EXPECT_TRUE(window.IsShowing());
        EXPECT_TRUE(IsWindowEnabled(window.Handle()));
        Click(window, "btnCancel");
    });
    EXPECT_EQ(window.ShowModal({}), ModalResult::Cancel);
    EXPECT_TRUE(blocked);
    EXPECT_EQ(reportOwner, window.Handle());
    EXPECT_EQ(report.Text("memErrorLog"), "[AUI]\r\nCAN_PING=TRUE\r\n[OPTIONS]\r\n"
                                          "DISABLE_ERROR_DISPLAY=FALSE\r\n");
    DestroyWindow(owner);
}

// The error report: its picture buttons light up under the pointer; Send
// puts the (edited) text on the clipboard and opens the mail link, each
// button with the click sound.
TEST_F(SecondaryWindowsTest, ErrorReportSendsWhatTheMemoHolds) {
    Seams seams;
    test::WriteRawFile(seams.dir.Path() / "qvs.cfg", "[ERROR]\r\nLAST=1\r\n");
    // The game writes its log in the system code page: "caf\xe9" stays "café".
    test::WriteRawFile(seams.dir.Path() / "log", "first\ncaf\xe9\n");
    int clicks = 0;
    TfrmSendErrorReport window(nullptr, seams.dir.File("qvs.cfg"), seams.dir.File("log"),
                               seams.shell, [&clicks] { ++clicks; });
    window.FormCreate();
    EXPECT_EQ(window.ReportText(), "[ERROR]\r\nLAST=1\r\n\r\nfirst\r\ncaf\xc3\xa9\r\n\r\n");
    const auto visible = [&window](const char* name) {
        return (GetWindowLongPtrW(window.Control(name), GWL_STYLE) & WS_VISIBLE) != 0;
    };
    SendMessageW(window.Control("btnSendErrorReport"), WM_MOUSEMOVE, 0, 0);
    EXPECT_TRUE(visible("imgSendErrorReportOn"));
    EXPECT_FALSE(visible("imgSendErrorReportOff"));
    SendMessageW(window.Control("btnSendErrorReport"), WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(visible("imgSendErrorReportOn"));
    EXPECT_TRUE(visible("imgSendErrorReportOff"));

    const struct {
        const char* button;
        ModalResult result;
        std::vector<std::string> urls;
    } rows[] = {
        {"btnDontSend", ModalResult::Cancel, {}},
        {"btnSendErrorReport", ModalResult::OK, {ErrorReportMailLink(build::ErrorReportEmail)}},
    };
    window.SetText("memErrorLog", "edited\r\n");
    for (const auto& row : rows) {
        WhileModal([&] { Click(window, row.button); });
        EXPECT_EQ(window.ShowModal(), row.result);
        EXPECT_EQ(seams.shell.urls, row.urls);
    }
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(ClipboardText(), "edited\r\n");
}

// One memo at a time; the check box keeps its tick from one advice to the
// next, so closing the second unchanged also switches it off. The last
// showing closes with the Escape key, through the pump and the dialog keys.
TEST_F(SecondaryWindowsTest, NetworkInformationShowsOneMemoAndKeepsItsTick) {
    TfrmTCP_UDP_Information window(nullptr);
    using Memo = INetworkInformationView::Memo;
    const struct {
        Memo memo;
        bool tick;
        const char* shown;
        const char* hidden;
    } rows[] = {
        {Memo::SlowContact, false, "mem2", "mem1"},
        {Memo::AddressDifference, true, "mem1", "mem2"},
        {Memo::SlowContact, false, "mem2", "mem1"},
    };
    bool ticked = false;
    for (const auto& row : rows) {
        bool shown = false;
        bool hidden = true;
        WhileModal([&] {
            shown = IsWindowVisible(window.Control(row.shown)) != FALSE;
            hidden = IsWindowVisible(window.Control(row.hidden)) == FALSE;
            if (row.tick) {
                Click(window, "cbDoNotDisplayThisMessageInTheFuture");
            }
            if (&row == &rows[2]) {
                PostMessageW(window.Control("mem2"), WM_KEYDOWN, VK_ESCAPE, 0);
            } else {
                PostMessageW(window.Handle(), WM_CLOSE, 0, 0);
            }
        });
        ticked = ticked || row.tick;
        EXPECT_EQ(window.ShowModalWith(row.memo), ticked);
        EXPECT_TRUE(shown && hidden) << row.shown;
    }
}

} // namespace
} // namespace qvs::win32
