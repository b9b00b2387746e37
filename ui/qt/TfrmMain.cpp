#include "ui/qt/TfrmMain.h"

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
#include "ui/qt/Pictures.h"
#include "ui/qt/QtShell.h"
#include "ui/qt/TImage.h"
#include "ui/qt/TLabel.h"
#include "ui/qt/TfrmChat.h"
#include "ui/qt/TfrmProblems.h"
#include "ui/qt/TfrmProblemsWithUpdater.h"
#include "ui/qt/TfrmSendErrorReport.h"
#include "ui/qt/TfrmTCP_UDP_Information.h"
#include "ui/qt/TfrmUpdateNews.h"
#include "ui/qt/WindowBuilder.h"
#include "ui/tables/Catalogue.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>
#include <QSoundEffect>
#include <QThread>
#include <QUrl>

#include <cstdlib>

namespace qvs {

namespace {

QColor ForgotColour(bool red) {
    return ColourOf(red ? ui::colour::Red : *ui::Lookup(ui::MainWindowTable(), "lblForgot1").ink);
}

} // namespace

TfrmMain::TfrmMain(ProcessValues& values, IPrompts& prompts, IShell& shell)
    : QWidget(nullptr, WindowFlagsOf(ui::MainWindowTable())), values_(values), prompts_(prompts),
      shell_(shell), menu_(*this, shell, prompts, values, build::GameWebSite),
      guard_([this](const std::string& message) {
          prompts_.ShowMessage(message);
          EnablePlayGame();
      }) {
    // Qt paints every widget through a back buffer, so the pictures never
    // flicker when highlights come and go.
    BuildWindow(*this, ui::MainWindowTable());
    FindControls();
    CentreOnDesktop();
    SetUpMenu();
    lblGameServerOffline->hide();
    SetUpTimers();
    // Its message boxes belong to the troubleshooting window, which stays on
    // top and would hide boxes owned by this one.
    frmProblems = new TfrmProblems(this, values_.InstallDir(), shell);
    frmSendErrorReport =
        new TfrmSendErrorReport(this, CConfig::PathIn(values_.InstallDir()), values_.ErrorLogPath,
                                shell, [this] { PlayClickSound(); });
    frmTCP_UDP_Information = new TfrmTCP_UDP_Information(this);
    frmProblemsWithUpdater =
        new TfrmProblemsWithUpdater(this, values_, [this] { SendConfigurationReport(); });
}

TfrmMain::~TfrmMain() {
    delete clickSound_;
    clickSound_ = nullptr;
    values_.Directory.reset();
    values_.Config.reset();
}

void TfrmMain::FindControls() {
    for (const ui::ControlSpec& control : ui::MainWindowTable().controls) {
        if (control.tag >= 1 && control.tag <= MenuButtonCount) {
            auto& slot = control.kind == ui::ControlKind::Picture ? HighlightImages : MenuButtons;
            slot[static_cast<std::size_t>(control.tag - 1)] = Find<TImage>(*this, control.name);
        }
    }
    imgBackground = Find<TImage>(*this, "imgBackground");
    btnPlayGame = MenuButtons[TagPlayGame - 1];
    btnExit = MenuButtons[TagExit - 1];
    lblGameServerOffline = Find<TLabel>(*this, "lblGameServerOffline");
    lblPeopleOnline = Find<TLabel>(*this, "lblPeopleOnline");
    lblPeopleOnlineDisp = Find<TLabel>(*this, "lblPeopleOnlineDisp");
    lblForgot1 = Find<TLabel>(*this, "lblForgot1");
    lblForgot2 = Find<TLabel>(*this, "lblForgot2");
    lblForgot3 = Find<TLabel>(*this, "lblForgot3");
    imgStatus = Find<TImage>(*this, "imgStatus");
    lblCurrentUpdate = Find<TLabel>(*this, "lblCurrentUpdate");
    lblOf = Find<TLabel>(*this, "lblOf");
    lblNumUpdates = Find<TLabel>(*this, "lblNumUpdates");
    lblHelp1 = Find<TLabel>(*this, "lblHelp1");
    lblHelp2 = Find<TLabel>(*this, "lblHelp2");
    lblHelp3 = Find<TLabel>(*this, "lblHelp3");
    lblHelp4 = Find<TLabel>(*this, "lblHelp4");
    mpClick = Find<QWidget>(*this, "mpClick");
}

void TfrmMain::SetUpMenu() {
    // Highlight pictures count as background for movement; a click on one
    // is its button's (the core leaves out Play Game's, whose picture sticks
    // out above its hot area).
    for (TImage* highlight : HighlightImages) {
        const int tag = highlight->Tag();
        connect(highlight, &TImage::MouseMoved, this,
                guard_.Slot([this] { menu_.imgBackgroundMouseMove(); }));
        connect(highlight, &TImage::Clicked, this,
                guard_.Slot([this, tag] { menu_.ClickByTag(tag); }));
    }
    connect(imgBackground, &TImage::MouseMoved, this,
            guard_.Slot([this] { menu_.imgBackgroundMouseMove(); }));
    for (TImage* button : MenuButtons) {
        const int tag = button->Tag();
        connect(button, &TImage::MouseMoved, this,
                guard_.Slot([this, tag] { menu_.btnMouseMove(tag); }));
        if (tag == TagPlayGame) {
            connect(button, &TImage::Clicked, this, guard_.Slot([this] { btnPlayGameClick(); }));
        } else {
            connect(button, &TImage::Clicked, this,
                    guard_.Slot([this, tag] { menu_.ClickByTag(tag); }));
        }
    }
    connect(btnExit, &TImage::Entered, this, guard_.Slot([this] { menu_.btnExitEnter(); }));
    connect(btnExit, &TImage::Left, this, guard_.Slot([this] { menu_.btnExitLeave(); }));
    for (TLabel* label : {lblForgot1, lblForgot2, lblForgot3}) {
        connect(label, &TLabel::Clicked, this, guard_.Slot([this] { menu_.lblForgot1Click(); }));
        connect(label, &TLabel::Entered, this, guard_.Slot([this] { menu_.lblForgotEnter(); }));
        connect(label, &TLabel::Left, this, guard_.Slot([this] { menu_.lblForgotLeave(); }));
    }
    SetHelpLines({"", "", "", ""});
}

std::array<std::pair<QTimer*, std::string_view>, 4> TfrmMain::Timers() {
    return {{{&timer, "timer"},
             {&tmrGameServerOffline, "tmrGameServerOffline"},
             {&tmrPingGameServerOnline, "tmrPingGameServerOnline"},
             {&tmrGaverServerOfflineTooLong, "tmrGaverServerOfflineTooLong"}}};
}

void TfrmMain::SetUpTimers() {
    for (const auto& [qtTimer, name] : Timers()) {
        qtTimer->setInterval(ui::LookupTimer(ui::MainWindowTable(), name).interval);
    }
    connect(&timer, &QTimer::timeout, this, guard_.Slot([this] { timerTimer(); }));
    connect(&tmrGameServerOffline, &QTimer::timeout, this,
            guard_.Slot([this] { tmrGameServerOfflineTimer(); }));
    connect(&tmrPingGameServerOnline, &QTimer::timeout, this,
            guard_.Slot([this] { tmrPingGameServerOnlineTimer(); }));
    connect(&tmrGaverServerOfflineTooLong, &QTimer::timeout, this,
            guard_.Slot([this] { tmrGaverServerOfflineTooLongTimer(); }));
}

void TfrmMain::StartTimers() {
    for (const auto& [qtTimer, name] : Timers()) {
        if (ui::LookupTimer(ui::MainWindowTable(), name).enabled) {
            qtTimer->start();
        }
    }
}

void TfrmMain::CentreOnDesktop() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect desktop = screen->geometry();
        move(desktop.x() + (desktop.width() - width()) / 2,
             desktop.y() + (desktop.height() - height()) / 2);
    }
}

void TfrmMain::RunStartUp() {
    clickSound_ = new QSoundEffect(mpClick);
    const std::string sound = platform::NativePath(values_.SoundsDir + "stoneclick.wav");
    if (platform::FileExists(sound)) {
        clickSound_->setSource(QUrl::fromLocalFile(QString::fromStdString(sound)));
    }
    StartUp(values_).Run();
    frmSendErrorReport->FormCreate();
    // The game-server timers only now: a message box shown earlier (another
    // client running) must not let them work on a configuration that is not
    // open yet. The sequence timer waits for Play Game.
    StartTimers();
}

void TfrmMain::PlayClickSound() {
    // A missing file or a missing sound device only means silence.
    if (clickSound_ != nullptr && clickSound_->status() != QSoundEffect::Error &&
        !clickSound_->source().isEmpty()) {
        clickSound_->play();
    }
}

void TfrmMain::ShowHighlight(int tag, bool visible) {
    if (tag >= 1 && tag <= MenuButtonCount) {
        HighlightImages[static_cast<std::size_t>(tag - 1)]->setVisible(visible);
    }
}

void TfrmMain::ShowStatusPanel(bool visible) {
    imgStatus->setVisible(visible);
}

bool TfrmMain::IsDownloadShown() const {
    return updateDisplay_.IsShown();
}

std::array<TLabel*, 4> TfrmMain::HelpLabels() const {
    return {lblHelp1, lblHelp2, lblHelp3, lblHelp4};
}

void TfrmMain::SetHelpLines(const HelpLines& lines) {
    const auto labels = HelpLabels();
    for (std::size_t i = 0; i < labels.size(); ++i) {
        labels[i]->SetCaption(
            QString::fromLatin1(lines[i].data(), static_cast<qsizetype>(lines[i].size())));
    }
}

void TfrmMain::ShowHelpLines(bool visible) {
    for (TLabel* label : HelpLabels()) {
        label->setVisible(visible);
    }
}

void TfrmMain::ShowDownloadCounters(bool visible) {
    for (TLabel* label : {lblCurrentUpdate, lblOf, lblNumUpdates}) {
        label->setVisible(visible);
    }
}

void TfrmMain::SetHandPointer(bool hand) {
    setCursor(hand ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void TfrmMain::SetForgotLabelsRed(bool red) {
    for (TLabel* label : {lblForgot1, lblForgot2, lblForgot3}) {
        label->SetColour(ForgotColour(red));
    }
}

// A fresh window for every opening: closing it ends both views and the
// banner timer.
void TfrmMain::ShowLiveChat() {
    TfrmChat frmChat(this, &shell_);
    frmChat.exec();
}

bool TfrmMain::ShowProblems() {
    return frmProblems->ShowModal() == ModalResult::OK;
}

void TfrmMain::CloseMainWindow() {
    close();
}

void TfrmMain::EndProcess(int exitCode) {
    std::_Exit(exitCode);
}

void TfrmMain::RestartBlinking() {
    tmrGameServerOffline.stop();
    lblGameServerOffline->hide();
    tmrGameServerOffline.start();
}

void TfrmMain::StopBlinking() {
    tmrGameServerOffline.stop();
    lblGameServerOffline->hide();
}

bool TfrmMain::IsBlinking() const {
    return tmrGameServerOffline.isActive();
}

void TfrmMain::ShowPeopleOnline(int people) {
    lblPeopleOnline->SetCaption(QString::number(people));
    lblPeopleOnline->show();
    lblPeopleOnlineDisp->show();
}

void TfrmMain::ProcessPendingMessages() {
    QCoreApplication::processEvents();
}

void TfrmMain::ShowErrorReport() {
    frmSendErrorReport->ShowModal();
}

void TfrmMain::SendConfigurationReport() {
    frmSendErrorReport->LoadConfiguration();
    frmSendErrorReport->ShowModal();
}

void TfrmMain::ShowNotice(const std::string& title, const std::string& html) {
    {
        TfrmUpdateNews frmUpdateNews(this, &shell_);
        frmUpdateNews.SetCaption(title);
        frmUpdateNews.LoadHtml(html);
        frmUpdateNews.exec();
    }
    ProcessPendingMessages(); // what the closing left queued
}

void TfrmMain::SetHourglassCursor() {
    setCursor(Qt::WaitCursor);
}

void TfrmMain::DisablePlayGame() {
    btnPlayGame->setEnabled(false);
}

void TfrmMain::EnablePlayGame() {
    btnPlayGame->setEnabled(true);
}

void TfrmMain::EnableUpdateTimer() {
    timer.start();
}

void TfrmMain::BeginUpdateDisplay(int count, const std::string& what, const std::string& host) {
    updateDisplay_.Begin(count, what, host);
}

void TfrmMain::SetUpdateLine2(const std::string& text) {
    updateDisplay_.SetLine(2, text);
}

void TfrmMain::SetUpdateLine3(const std::string& text) {
    updateDisplay_.SetLine(3, text);
}

void TfrmMain::SetCurrentUpdate(int number) {
    updateDisplay_.SetCurrentUpdate(number);
}

void TfrmMain::ShowProgress(int barWidth, const std::string& percent) {
    updateDisplay_.ShowProgress(barWidth, percent);
}

void TfrmMain::EndUpdateDisplay(const std::string& message) {
    updateDisplay_.End(message);
}

// The news are a courtesy: nothing that goes wrong with them stops the game.
void TfrmMain::ShowUpdateNews(const std::string& url) {
    try {
        TfrmUpdateNews frmUpdateNews(this, &shell_);
        frmUpdateNews.Navigate(url);
        frmUpdateNews.exec();
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
    return frmProblemsWithUpdater->ShowModal(lines) == ModalResult::OK;
}

// The window repaints but takes no clicks or keys while the client starts.
void TfrmMain::WaitWithoutInput(std::chrono::milliseconds duration) {
    const auto end = std::chrono::steady_clock::now() + duration;
    setEnabled(false);
    while (std::chrono::steady_clock::now() < end) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 50);
        QThread::msleep(20);
    }
    // Clicks and keys held back meanwhile reach the disabled window now and
    // are dropped, instead of acting once it is enabled again.
    QCoreApplication::processEvents();
    setEnabled(true);
}

bool TfrmMain::event(QEvent* event) {
    return guard_.Event([this, event] { return QWidget::event(event); });
}

// Handlers that must run once stop their timer first.
void TfrmMain::btnPlayGameClick() {
    PlayGameButton(*this, values_).btnPlayGameClick();
}

void TfrmMain::timerTimer() {
    timer.stop();
    UpdatePass(values_, *this, *frmTCP_UDP_Information, prompts_, shell_).Run();
}

void TfrmMain::tmrGameServerOfflineTimer() {
    lblGameServerOffline->setVisible(lblGameServerOffline->isHidden());
}

void TfrmMain::tmrPingGameServerOnlineTimer() {
    tmrPingGameServerOnline.stop();
    GameServerStatusCheck(values_, *this, build::DefaultGameServer).Run();
}

void TfrmMain::tmrGaverServerOfflineTooLongTimer() {
    tmrGaverServerOfflineTooLong.stop();
    if (!tmrGameServerOffline.isActive()) {
        return;
    }
    NetworkAdvice(*values_.Config, *frmTCP_UDP_Information).AdviseOnSlowContact();
}

} // namespace qvs
