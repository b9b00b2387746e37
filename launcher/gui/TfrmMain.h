// The launcher's main window: one 600 x 450 picture without border or
// caption, with invisible click areas over the painted menu labels, the
// highlight pictures, the status panel with its help lines and the download
// display.
#pragma once

#include "launcher/IMainMenuView.h"
#include "launcher/IShell.h"
#include "launcher/MainMenu.h"
#include "launcher/ProcessValues.h"
#include "system/IPrompts.h"

#include <QTimer>
#include <QWidget>

#include <array>

class QSoundEffect;

namespace qvs {

class TImage;
class TLabel;

class TfrmMain : public QWidget, public IMainMenuView {
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

    // Controls, bottom to top.
    TImage* imgBackground = nullptr;
    TImage* img_moViewWebsite = nullptr;
    TImage* img_moPlayGame = nullptr;
    TImage* btnViewWebsite = nullptr;
    TImage* btnPlayGame = nullptr;
    TLabel* lblGameServerOffline = nullptr;
    TLabel* lblPeopleOnline = nullptr;
    TLabel* lblPeopleOnlineDisp = nullptr;
    TLabel* lblForgot1 = nullptr;
    TLabel* lblForgot2 = nullptr;
    TLabel* lblForgot3 = nullptr;
    TImage* img_moExit = nullptr;
    TImage* btnExit = nullptr;
    TImage* img_moLiveChat = nullptr;
    TImage* img_moAccountSignup = nullptr;
    TImage* img_moRegisterAccount = nullptr;
    TImage* img_moGameForum = nullptr;
    TImage* img_moProblems = nullptr;
    TImage* img_moClans = nullptr;
    TImage* btnLiveChat = nullptr;
    TImage* btnAccountSignup = nullptr;
    TImage* btnRegisterAccount = nullptr;
    TImage* btnGameForum = nullptr;
    TImage* btnProblems = nullptr;
    TImage* btnClans = nullptr;
    TImage* imgStatus = nullptr;
    TImage* imgDownloadBarBg = nullptr;
    TLabel* lblDownloadingUpdate = nullptr;
    TLabel* lblCurrentUpdate = nullptr;
    TLabel* lblOf = nullptr;
    TLabel* lblNumUpdates = nullptr;
    TLabel* lblHelp1 = nullptr;
    TLabel* lblHelp2 = nullptr;
    TLabel* lblHelp3 = nullptr;
    TLabel* lblHelp4 = nullptr;
    TImage* imgDownloadBar = nullptr;
    TLabel* lblPercentFinished = nullptr;
    QWidget* mpClick = nullptr;

    QTimer timer;
    QTimer tmrGameServerOffline;
    QTimer tmrPingGameServerOnline;
    QTimer tmrGaverServerOfflineTooLong;

    // The highlight picture of each button, index Tag - 1.
    std::array<TImage*, MenuButtonCount> HighlightImages{};

private:
    void BuildControls();
    void BuildMenuControls();
    void BuildStatusControls();
    void SetUpMenu();
    void SetUpTimers();
    void StartTimers();
    void CentreOnDesktop();
    std::array<TLabel*, 4> HelpLabels() const;

    void btnPlayGameClick();
    void timerTimer();
    void tmrGameServerOfflineTimer();
    void tmrPingGameServerOnlineTimer();
    void tmrGaverServerOfflineTooLongTimer();

    ProcessValues& values_;
    MainMenu menu_;
    QSoundEffect* clickSound_ = nullptr;
};

} // namespace qvs
