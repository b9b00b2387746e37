// The launcher's main window: one 600 x 450 picture without border or
// caption, with invisible click areas over the painted menu labels, the
// highlight pictures, the status panel with its help lines and the download
// display.
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
#include "ui/qt/HandlerGuard.h"
#include "ui/qt/QtControlPanel.h"

#include <QTimer>
#include <QWidget>

#include <array>
#include <chrono>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class QSoundEffect;

namespace qvs {

class TImage;
class TLabel;
class TfrmProblems;
class TfrmSendErrorReport;
class TfrmTCP_UDP_Information;

class TfrmProblemsWithUpdater;

// The window is the view of every piece of launcher logic that works on it:
// the menu, the game server status check, Play Game, the update pass, the
// failure report and the game launch.
class TfrmMain : public QWidget,
                 public IMainMenuView,
                 public IServerStatusView,
                 public IPlayGameView,
                 public IUpdateView,
                 public IUpdaterErrorView,
                 public ILaunchView {
    Q_OBJECT

public:
    // Builds the window and sets up the menu; touches no file.
    TfrmMain(ProcessValues& values, IPrompts& prompts, IShell& shell);
    ~TfrmMain() override;

    // The start-up work on the installation directory: the click sound, the
    // version files, the "Log" directory and the configuration file; then
    // the game-server timers start.
    void RunStartUp();

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

    // The controls that the window works on by name; the others of its
    // table are found by Tag.
    TImage* imgBackground = nullptr;
    TImage* btnPlayGame = nullptr;
    TImage* btnExit = nullptr;
    TLabel* lblGameServerOffline = nullptr;
    TLabel* lblPeopleOnline = nullptr;
    TLabel* lblPeopleOnlineDisp = nullptr;
    TLabel* lblForgot1 = nullptr;
    TLabel* lblForgot2 = nullptr;
    TLabel* lblForgot3 = nullptr;
    TImage* imgStatus = nullptr;
    TLabel* lblCurrentUpdate = nullptr;
    TLabel* lblOf = nullptr;
    TLabel* lblNumUpdates = nullptr;
    TLabel* lblHelp1 = nullptr;
    TLabel* lblHelp2 = nullptr;
    TLabel* lblHelp3 = nullptr;
    TLabel* lblHelp4 = nullptr;
    QWidget* mpClick = nullptr;

    // Secondary windows that live as long as this one, hidden until needed.
    // The error report reads its files in RunStartUp, after the start-up
    // has written the configuration file.
    TfrmProblems* frmProblems = nullptr;
    TfrmSendErrorReport* frmSendErrorReport = nullptr;
    TfrmTCP_UDP_Information* frmTCP_UDP_Information = nullptr;
    TfrmProblemsWithUpdater* frmProblemsWithUpdater = nullptr;

    QTimer timer;
    QTimer tmrGameServerOffline;
    QTimer tmrPingGameServerOnline;
    QTimer tmrGaverServerOfflineTooLong;

    // The highlight picture and the click area of each button, index Tag - 1.
    std::array<TImage*, MenuButtonCount> HighlightImages{};
    std::array<TImage*, MenuButtonCount> MenuButtons{};

private:
    void FindControls();
    void SetUpMenu();
    std::array<std::pair<QTimer*, std::string_view>, 4> Timers();
    void SetUpTimers();
    void StartTimers();
    void CentreOnDesktop();
    std::array<TLabel*, 4> HelpLabels() const;

    void SendConfigurationReport();
    bool event(QEvent* event) override;

    void btnPlayGameClick();
    void timerTimer();
    void tmrGameServerOfflineTimer();
    void tmrPingGameServerOnlineTimer();
    void tmrGaverServerOfflineTooLongTimer();

    ProcessValues& values_;
    IPrompts& prompts_;
    IShell& shell_;
    MainMenu menu_;
    QtControlPanel panel_{*this};
    UpdateDisplay updateDisplay_{panel_};
    QSoundEffect* clickSound_ = nullptr;
    // Every slot and event handler of the window runs under it: an error
    // that escapes the launcher logic (such as a qvs.cfg that cannot be
    // written) is shown, and Play Game can be pressed again.
    HandlerGuard guard_;
};

} // namespace qvs
