// The launcher's main window: one 600 x 450 picture without border or
// caption, with invisible click areas over the painted menu labels, the
// highlight pictures, the status panel with its help lines and the download
// display; every control comes from the window's table. It is the view of
// every piece of launcher logic that works on it: the menu, the game server
// status check, Play Game, the update pass, the failure report and the game
// launch.
#pragma once

#include "launcher/ILaunchView.h"
#include "launcher/IMainMenuView.h"
#include "launcher/IPlayGameView.h"
#include "launcher/IServerStatusView.h"
#include "launcher/IShell.h"
#include "launcher/IUpdateView.h"
#include "launcher/IUpdaterErrorView.h"
#include "launcher/MainMenu.h"
#include "launcher/ProcessValues.h"
#include "launcher/UpdateDisplay.h"
#include "system/IPrompts.h"
#include "ui/win32/base/Timer.h"
#include "ui/win32/base/WindowBase.h"
#include "ui/win32/controls/Scene.h"

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace qvs::win32 {

class SecondaryWindows;

class TfrmMain : public WindowBase,
                 public IMainMenuView,
                 public IServerStatusView,
                 public IPlayGameView,
                 public IUpdateView,
                 public IUpdaterErrorView,
                 public ILaunchView {
public:
    // Builds the window, hidden, centred on the desktop; touches no file.
    TfrmMain(ProcessValues& values, IPrompts& prompts, IShell& shell);
    ~TfrmMain() override;

    // The start-up work on the installation directory (the click sound, the
    // version files, the "Log" directory, the configuration file); then the
    // game-server timers start.
    void RunStartUp();
    void Show();
    // The window's controls, as built from its table.
    Scene& Controls() { return *scene_; }

    void PlayClickSound() override;

    // IMainMenuView
    void ShowHighlight(int tag, bool visible) override;
    void ShowStatusPanel(bool visible) override;
    bool IsDownloadShown() const override;
    void SetHelpLines(const HelpLines& lines) override;
    void ShowHelpLines(bool visible) override;
    void ShowDownloadCounters(bool visible) override;
    void SetHandPointer(bool hand) override;
    void SetForgotLabelsRed(bool red) override;
    void ShowLiveChat() override;
    bool ShowProblems() override;
    void CloseMainWindow() override;
    void EndProcess(int exitCode) override;

    // IServerStatusView
    void RestartBlinking() override;
    void StopBlinking() override;
    bool IsBlinking() const override;
    void ShowPeopleOnline(int people) override;
    void ProcessPendingMessages() override;
    void ShowErrorReport() override;

    // IPlayGameView
    void ShowNotice(const std::string& title, const std::string& html) override;
    void SetHourglassCursor() override;
    void DisablePlayGame() override;
    void EnableUpdateTimer() override;

    // IUpdateView
    void BeginUpdateDisplay(int count, const std::string& what, const std::string& host) override;
    void SetUpdateLine2(const std::string& text) override;
    void SetUpdateLine3(const std::string& text) override;
    void SetCurrentUpdate(int number) override;
    void ShowProgress(int barWidth, const std::string& percent) override;
    void EndUpdateDisplay(const std::string& message) override;
    void ShowUpdateNews(const std::string& url) override;
    void ReportUpdateFailure() override;
    void LaunchGame() override;

    // IUpdaterErrorView
    bool ShowUpdaterError(const std::vector<std::string>& lines) override;

    // ILaunchView
    void EnablePlayGame() override;
    void WaitWithoutInput(std::chrono::milliseconds duration) override;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // An error that escaped the launcher logic (such as a qvs.cfg that
    // cannot be written) is shown, and Play Game can be pressed again.
    void HandlerFailed(const std::string& message) noexcept override;

private:
    void ConnectMenu();
    void OnMouse(const TableControl& control, MouseEvent event);
    void OnTimer(UINT_PTR id);
    TableControl& Highlight(int tag) const;
    void SendConfigurationReport();

    ProcessValues& values_;
    IPrompts& prompts_;
    IShell& shell_;
    MainMenu menu_;
    std::unique_ptr<Scene> scene_;
    std::unique_ptr<UpdateDisplay> updateDisplay_;
    // The windows this one opens, hidden until needed.
    std::unique_ptr<SecondaryWindows> secondary_;
    HCURSOR cursor_ = nullptr;
    std::wstring clickSound_;

    // The window's timers; their intervals come from its table.
    static UINT IntervalOf(std::string_view timer);
    Timer timer{1, IntervalOf("timer")};
    Timer tmrGameServerOffline{2, IntervalOf("tmrGameServerOffline")};
    Timer tmrPingGameServerOnline{3, IntervalOf("tmrPingGameServerOnline")};
    Timer tmrGaverServerOfflineTooLong{4, IntervalOf("tmrGaverServerOfflineTooLong")};
};

} // namespace qvs::win32
