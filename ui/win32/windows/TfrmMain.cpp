#include "ui/win32/windows/TfrmMain.h"

#include "BuildSettings.h"
#include "launcher/CConfig.h"
#include "launcher/GameLaunch.h"
#include "launcher/GameServerStatusCheck.h"
#include "launcher/NetworkAdvice.h"
#include "launcher/PlayGameButton.h"
#include "launcher/StartUp.h"
#include "launcher/UpdateFailureReport.h"
#include "launcher/UpdatePass.h"
#include "platform/FileSystem.h"
#include "system/CDirectory.h"
#include "ui/tables/Catalogue.h"
#include "ui/win32/base/MessagePump.h"
#include "ui/win32/base/Text.h"
#include "ui/win32/windows/SecondaryWindows.h"

#include <mmsystem.h>

#include <cstdlib>

namespace qvs::win32 {

namespace {

const char* const HelpLine[] = {"lblHelp1", "lblHelp2", "lblHelp3", "lblHelp4"};
const char* const ForgotLabels[] = {"lblForgot1", "lblForgot2", "lblForgot3"};
const char* const Counters[] = {"lblCurrentUpdate", "lblOf", "lblNumUpdates"};

const ui::WindowSpec& Table() {
    return ui::MainWindowTable();
}

RECT CentredOnDesktop(SIZE size) {
    const int left = (GetSystemMetrics(SM_CXSCREEN) - size.cx) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - size.cy) / 2;
    return {left, top, left + size.cx, top + size.cy};
}

} // namespace

TfrmMain::TfrmMain(ProcessValues& values, IPrompts& prompts, IShell& shell)
    : values_(values), prompts_(prompts), shell_(shell),
      menu_(*this, shell, prompts, values, build::GameWebSite),
      cursor_(LoadCursorW(nullptr, IDC_ARROW)) {
    const std::wstring caption = Widen(Table().caption);
    // WS_EX_APPWINDOW: a taskbar button, and X11 window managers take the
    // borderless window in.
    Create({L"TfrmMain", 0, LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1))},
           {caption.c_str(),
            WS_POPUP | WS_CLIPCHILDREN | WS_MINIMIZEBOX | WS_SYSMENU,
            WS_EX_APPWINDOW,
            {0, 0, 0, 0},
            nullptr,
            0});
    const Dpi dpi = DpiOf(Handle());
    const RECT bounds = CentredOnDesktop({dpi.Scale(Table().width), dpi.Scale(Table().height)});
    SetWindowPos(Handle(), nullptr, bounds.left, bounds.top, bounds.right - bounds.left,
                 bounds.bottom - bounds.top, SWP_NOZORDER | SWP_NOACTIVATE);
    scene_ = std::make_unique<Scene>(Table(), Handle(), dpi);
    updateDisplay_ = std::make_unique<UpdateDisplay>(*scene_);
    for (Timer* t :
         {&timer, &tmrGameServerOffline, &tmrPingGameServerOnline, &tmrGaverServerOfflineTooLong}) {
        t->SetOwner(Handle());
    }
    ConnectMenu();
    secondary_ = std::make_unique<SecondaryWindows>(Handle(), values_, shell_, prompts_,
                                                    [this] { PlayClickSound(); });
}

TfrmMain::~TfrmMain() {
    values_.Directory.reset();
    values_.Config.reset();
}

void TfrmMain::ConnectMenu() {
    for (const auto& control : scene_->Controls()) {
        control->SetMouseHandler(
            [this](const TableControl& from, MouseEvent event) { OnMouse(from, event); });
    }
    SetHelpLines({"", "", "", ""});
}

// The highlight picture of the menu button with this Tag.
TableControl& TfrmMain::Highlight(int tag) const {
    for (const auto& control : scene_->Controls()) {
        if (control->Row().kind == ui::ControlKind::Picture && control->Tag() == tag) {
            return *control;
        }
    }
    throw std::out_of_range("no highlight with tag " + std::to_string(tag));
}

void TfrmMain::OnMouse(const TableControl& control, MouseEvent event) {
    const std::string_view name = control.Name();
    const ui::ControlKind kind = control.Row().kind;
    if (kind == ui::ControlKind::ClickArea) {
        const int tag = control.Tag();
        if (event == MouseEvent::Move) {
            menu_.btnMouseMove(tag);
        } else if (event == MouseEvent::Click) {
            if (tag == TagPlayGame) {
                PlayGameButton(*this, values_).btnPlayGameClick();
            } else {
                menu_.ClickByTag(tag);
            }
        } else if (tag == TagExit) {
            event == MouseEvent::Enter ? menu_.btnExitEnter() : menu_.btnExitLeave();
        }
    } else if (name == "imgBackground" || (kind == ui::ControlKind::Picture && control.Tag() > 0)) {
        // Highlight pictures count as background for movement and pass
        // their clicks to the menu (which leaves out Play Game's).
        if (event == MouseEvent::Move) {
            menu_.imgBackgroundMouseMove();
        } else if (event == MouseEvent::Click) {
            menu_.ClickByTag(control.Tag());
        }
    } else if (name.starts_with("lblForgot")) {
        if (event == MouseEvent::Click) {
            menu_.lblForgot1Click();
        } else if (event == MouseEvent::Enter) {
            menu_.lblForgotEnter();
        } else if (event == MouseEvent::Leave) {
            menu_.lblForgotLeave();
        }
    }
}

void TfrmMain::RunStartUp() {
    const std::string sound = platform::NativePath(values_.SoundsDir + "stoneclick.wav");
    if (platform::FileExists(sound)) {
        clickSound_ = Widen(sound);
    }
    StartUp(values_).Run();
    secondary_->AfterStartUp();
    // The game-server timers only now: a message box shown earlier (another
    // client running) must not let them work on a configuration that is not
    // open yet. The sequence timer waits for Play Game.
    const std::pair<std::string_view, Timer*> timers[] = {
        {"timer", &timer},
        {"tmrGameServerOffline", &tmrGameServerOffline},
        {"tmrPingGameServerOnline", &tmrPingGameServerOnline},
        {"tmrGaverServerOfflineTooLong", &tmrGaverServerOfflineTooLong}};
    for (const auto& [name, t] : timers) {
        if (ui::LookupTimer(Table(), name).enabled) {
            t->Start();
        }
    }
}

UINT TfrmMain::IntervalOf(std::string_view timer) {
    return static_cast<UINT>(ui::LookupTimer(Table(), timer).interval);
}

void TfrmMain::Show() {
    ShowWindow(Handle(), SW_SHOW);
    UpdateWindow(Handle());
}

// A missing file or a missing sound device only means silence.
void TfrmMain::PlayClickSound() {
    if (!clickSound_.empty()) {
        PlaySoundW(clickSound_.c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT);
    }
}

void TfrmMain::ShowHighlight(int tag, bool visible) {
    if (tag >= 1 && tag <= MenuButtonCount) {
        Highlight(tag).SetVisible(visible);
    }
}

void TfrmMain::ShowStatusPanel(bool visible) {
    (*scene_)["imgStatus"].SetVisible(visible);
}

bool TfrmMain::IsDownloadShown() const {
    return updateDisplay_->IsShown();
}

void TfrmMain::SetHelpLines(const HelpLines& lines) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        (*scene_)[HelpLine[i]].SetCaption(lines[i]);
    }
}

void TfrmMain::ShowHelpLines(bool visible) {
    for (const char* name : HelpLine) {
        (*scene_)[name].SetVisible(visible);
    }
}

void TfrmMain::ShowDownloadCounters(bool visible) {
    for (const char* name : Counters) {
        (*scene_)[name].SetVisible(visible);
    }
}

void TfrmMain::SetHandPointer(bool hand) {
    cursor_ = LoadCursorW(nullptr, hand ? IDC_HAND : IDC_ARROW);
    SetCursor(cursor_);
}

void TfrmMain::SetForgotLabelsRed(bool red) {
    for (const char* name : ForgotLabels) {
        (*scene_)[name].SetInk(red ? ui::colour::Red : ui::colour::Lime);
    }
}

void TfrmMain::ShowLiveChat() {
    secondary_->ShowLiveChat();
}

bool TfrmMain::ShowProblems() {
    return secondary_->ShowProblems();
}

// The window goes at once; the message loop ends when it reaches the quit
// message, so no window is destroyed inside its own handler.
void TfrmMain::CloseMainWindow() {
    ShowWindow(Handle(), SW_HIDE);
    PostQuitMessage(0);
}

void TfrmMain::EndProcess(int exitCode) {
    std::_Exit(exitCode);
}

void TfrmMain::RestartBlinking() {
    tmrGameServerOffline.Stop();
    (*scene_)["lblGameServerOffline"].SetVisible(false);
    tmrGameServerOffline.Start();
}

void TfrmMain::StopBlinking() {
    tmrGameServerOffline.Stop();
    (*scene_)["lblGameServerOffline"].SetVisible(false);
}

bool TfrmMain::IsBlinking() const {
    return tmrGameServerOffline.IsActive();
}

void TfrmMain::ShowPeopleOnline(int people) {
    (*scene_)["lblPeopleOnline"].SetCaption(std::to_string(people));
    (*scene_)["lblPeopleOnline"].SetVisible(true);
    (*scene_)["lblPeopleOnlineDisp"].SetVisible(true);
}

void TfrmMain::ProcessPendingMessages() {
    PumpMessages(Pump::Pending);
}

void TfrmMain::ShowErrorReport() {
    secondary_->ShowErrorReport();
}

void TfrmMain::ShowNotice(const std::string& title, const std::string& html) {
    secondary_->ShowNotice(title, html);
    ProcessPendingMessages(); // what the closing left queued
}

void TfrmMain::SetHourglassCursor() {
    cursor_ = LoadCursorW(nullptr, IDC_WAIT);
    SetCursor(cursor_);
}

void TfrmMain::DisablePlayGame() {
    (*scene_)["btnPlayGame"].SetEnabled(false);
}

void TfrmMain::EnablePlayGame() {
    (*scene_)["btnPlayGame"].SetEnabled(true);
}

void TfrmMain::EnableUpdateTimer() {
    timer.Start();
}

void TfrmMain::BeginUpdateDisplay(int count, const std::string& what, const std::string& host) {
    updateDisplay_->Begin(count, what, host);
}

void TfrmMain::SetUpdateLine2(const std::string& text) {
    updateDisplay_->SetLine(2, text);
}

void TfrmMain::SetUpdateLine3(const std::string& text) {
    updateDisplay_->SetLine(3, text);
}

void TfrmMain::SetCurrentUpdate(int number) {
    updateDisplay_->SetCurrentUpdate(number);
}

void TfrmMain::ShowProgress(int barWidth, const std::string& percent) {
    updateDisplay_->ShowProgress(barWidth, percent);
}

void TfrmMain::EndUpdateDisplay(const std::string& message) {
    updateDisplay_->End(message);
}

// The news are a courtesy: nothing that goes wrong with them stops the game.
void TfrmMain::ShowUpdateNews(const std::string& url) {
    try {
        secondary_->ShowUpdateNews(url);
    } catch (const std::exception&) {
    }
}

void TfrmMain::ReportUpdateFailure() {
    UpdateFailureReport(values_, *this, shell_).Report();
}

void TfrmMain::LaunchGame() {
    GameLaunch(values_, *this, prompts_, shell_).LaunchGame();
}

bool TfrmMain::ShowUpdaterError(const std::vector<std::string>& lines) {
    return secondary_->ShowUpdaterError(lines, [this] { SendConfigurationReport(); });
}

void TfrmMain::SendConfigurationReport() {
    secondary_->SendConfigurationReport();
}

// The window repaints but takes no clicks or keys while the client starts.
void TfrmMain::WaitWithoutInput(std::chrono::milliseconds duration) {
    const auto end = std::chrono::steady_clock::now() + duration;
    EnableWindow(Handle(), FALSE);
    while (std::chrono::steady_clock::now() < end) {
        if (!PumpMessages(Pump::Pending)) {
            break;
        }
        Sleep(20);
    }
    // Clicks and keys held back meanwhile reach the disabled window now and
    // are dropped, instead of acting once it is enabled again.
    PumpMessages(Pump::Pending);
    EnableWindow(Handle(), TRUE);
}

LRESULT TfrmMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        const PaintScope paint(Handle());
        scene_->Paint(paint.Dc(), paint.Area(), {0, 0});
        return 0;
    }
    case WM_SETCURSOR:
        SetCursor(cursor_);
        return TRUE;
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_DPICHANGED: {
        // Per-monitor DPI: the window and all in it scale to the monitor.
        const Dpi dpi{HIWORD(wParam)};
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        scene_->ApplyDpi(dpi);
        SetWindowPos(Handle(), nullptr, suggested->left, suggested->top, dpi.Scale(Table().width),
                     dpi.Scale(Table().height), SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_CLOSE:
        CloseMainWindow();
        return 0;
    default:
        return Default(message, wParam, lParam);
    }
}

// Handlers that must run once stop their timer first.
void TfrmMain::OnTimer(UINT_PTR id) {
    if (id == timer.Id()) {
        timer.Stop();
        UpdatePass(values_, *this, secondary_->NetworkInformation(), prompts_, shell_).Run();
    } else if (id == tmrGameServerOffline.Id()) {
        TableControl& label = (*scene_)["lblGameServerOffline"];
        label.SetVisible(!label.IsVisible());
    } else if (id == tmrPingGameServerOnline.Id()) {
        tmrPingGameServerOnline.Stop();
        GameServerStatusCheck(values_, *this, build::DefaultGameServer).Run();
    } else if (id == tmrGaverServerOfflineTooLong.Id()) {
        tmrGaverServerOfflineTooLong.Stop();
        if (tmrGameServerOffline.IsActive()) {
            NetworkAdvice(*values_.Config, secondary_->NetworkInformation()).AdviseOnSlowContact();
        }
    }
}

void TfrmMain::HandlerFailed(const std::string& message) noexcept {
    try {
        prompts_.ShowMessage(message);
        EnablePlayGame();
    } catch (...) {
        WindowBase::HandlerFailed(message);
    }
}

} // namespace qvs::win32
