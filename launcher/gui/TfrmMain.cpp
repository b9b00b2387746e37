#include "launcher/gui/TfrmMain.h"

#include "BuildSettings.h"
#include "launcher/CConfig.h"
#include "launcher/GameLaunch.h"
#include "launcher/GameServerStatusCheck.h"
#include "launcher/NetworkAdvice.h"
#include "launcher/PlayGameButton.h"
#include "launcher/StartUp.h"
#include "launcher/UpdateFailureReport.h"
#include "launcher/UpdatePass.h"
#include "launcher/gui/Pictures.h"
#include "launcher/gui/QtShell.h"
#include "launcher/gui/TImage.h"
#include "launcher/gui/TLabel.h"
#include "launcher/gui/UpdateDisplay.h"
#include "platform/FileSystem.h"
#include "system/CDirectory.h"
#include "windows/TfrmChat.h"
#include "windows/TfrmProblems.h"
#include "windows/TfrmProblemsWithUpdater.h"
#include "windows/TfrmSendErrorReport.h"
#include "windows/TfrmTCP_UDP_Information.h"
#include "windows/TfrmUpdateNews.h"

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

const QColor Lime(0, 255, 0);
const QColor Red(255, 0, 0);
const QColor White(255, 255, 255);

TImage* ClickArea(QWidget* parent, const char* name, QRect bounds, int tag) {
    return new TImage(parent, QString::fromLatin1(name), bounds, tag);
}

// A label that sizes itself to its caption, as the layout gives only its
// top-left corner.
TLabel* AutoLabel(QWidget* parent, const char* name, const char* caption, QPoint at,
                  const QFont& font, const QColor& colour) {
    auto* label =
        new TLabel(parent, QString::fromLatin1(name), QString::fromLatin1(caption), font, colour);
    label->move(at);
    label->SetAutoSize();
    label->hide();
    return label;
}

TLabel* CentredLabel(QWidget* parent, const char* name, const char* caption, QRect bounds,
                     const QFont& font) {
    auto* label =
        new TLabel(parent, QString::fromLatin1(name), QString::fromLatin1(caption), font, White);
    label->setGeometry(bounds);
    label->setAlignment(Qt::AlignCenter);
    label->hide();
    return label;
}

} // namespace

TfrmMain::TfrmMain(ProcessValues& values, IPrompts& prompts, IShell& shell)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), values_(values), prompts_(prompts),
      shell_(shell), menu_(*this, shell, prompts, values, build::GameWebSite),
      guard_([this](const std::string& message) {
          prompts_.ShowMessage(message);
          EnablePlayGame();
      }) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Quorvash"));
    setWindowIcon(LauncherIcon());
    LoadLauncherFonts();
    setFont(SansSerifFont(11));
    setFixedSize(600, 450);
    // Qt paints every widget through a back buffer, so the pictures never
    // flicker when highlights come and go.
    BuildControls();
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

void TfrmMain::BuildControls() {
    imgBackground = TImage::WithPicture(this, "imgBackground", {0, 0, 600, 450}, true);
    img_moViewWebsite = TImage::WithPicture(this, "img_moViewWebsite", {10, 118, 127, 32}, false);
    img_moPlayGame = TImage::WithPicture(this, "img_moPlayGame", {63, 403, 185, 47}, false);
    btnViewWebsite = ClickArea(this, "btnViewWebsite", {16, 118, 121, 27}, TagViewWebsite);
    btnPlayGame = ClickArea(this, "btnPlayGame", {63, 408, 185, 42}, TagPlayGame);
    const QFont large = SerifFont(21, true, true);
    lblGameServerOffline =
        AutoLabel(this, "lblGameServerOffline", "Game Server Offline ", {73, 374}, large, Lime);
    lblPeopleOnline = AutoLabel(this, "lblPeopleOnline", "0 ", {497, 70}, large, Lime);
    lblPeopleOnlineDisp =
        AutoLabel(this, "lblPeopleOnlineDisp", "People Online ", {353, 70}, large, Lime);
    const QFont small = SerifFont(13, true, true);
    lblForgot1 = AutoLabel(this, "lblForgot1", "Forget Login Name,", {481, 350}, small, Lime);
    lblForgot2 = AutoLabel(this, "lblForgot2", "Authorization Code", {481, 366}, small, Lime);
    lblForgot3 = AutoLabel(this, "lblForgot3", "or Password?", {481, 382}, small, Lime);
    img_moExit = TImage::WithPicture(this, "img_moExit", {501, 412, 94, 32}, false);
    btnExit = ClickArea(this, "btnExit", {501, 412, 94, 32}, TagExit);
    BuildMenuControls();
    BuildStatusControls();
}

void TfrmMain::BuildMenuControls() {
    img_moLiveChat = TImage::WithPicture(this, "img_moLiveChat", {10, 22, 221, 32}, true);
    img_moAccountSignup = TImage::WithPicture(this, "img_moAccountSignup", {10, 54, 187, 32}, true);
    img_moRegisterAccount =
        TImage::WithPicture(this, "img_moRegisterAccount", {10, 86, 152, 32}, true);
    img_moGameForum = TImage::WithPicture(this, "img_moGameForum", {10, 150, 105, 32}, true);
    img_moProblems = TImage::WithPicture(this, "img_moProblems", {10, 182, 89, 32}, true);
    img_moClans = TImage::WithPicture(this, "img_moClans", {10, 214, 75, 29}, true);
    btnLiveChat = ClickArea(this, "btnLiveChat", {96, 22, 135, 27}, TagLiveChat);
    btnAccountSignup = ClickArea(this, "btnAccountSignup", {18, 55, 177, 27}, TagAccountSignup);
    btnRegisterAccount =
        ClickArea(this, "btnRegisterAccount", {18, 87, 143, 27}, TagRegisterAccount);
    btnGameForum = ClickArea(this, "btnGameForum", {12, 151, 103, 27}, TagGameForum);
    btnProblems = ClickArea(this, "btnProblems", {17, 183, 81, 27}, TagProblems);
    btnClans = ClickArea(this, "btnClans", {31, 215, 57, 27}, TagClans);
}

void TfrmMain::BuildStatusControls() {
    imgStatus = TImage::WithPicture(this, "imgStatus", {160, 146, 410, 135}, false);
    imgDownloadBarBg = TImage::WithPicture(this, "imgDownloadBarBg", {215, 256, 300, 22}, false);
    lblDownloadingUpdate = AutoLabel(this, "lblDownloadingUpdate", "Downloading Update ",
                                     {170, 153}, SansSerifFont(20, true), Red);
    const QFont counter = SansSerifFont(13);
    lblCurrentUpdate = AutoLabel(this, "lblCurrentUpdate", "1", {202, 175}, counter, White);
    lblOf = AutoLabel(this, "lblOf", "of", {226, 175}, counter, White);
    lblNumUpdates = AutoLabel(this, "lblNumUpdates", "1", {250, 175}, counter, White);
    const QFont help = SerifFont(15);
    lblHelp1 = CentredLabel(this, "lblHelp1", "", {168, 186, 393, 18}, help);
    lblHelp1->show();
    lblHelp2 = CentredLabel(this, "lblHelp2", "", {168, 202, 393, 18}, help);
    lblHelp3 = CentredLabel(this, "lblHelp3", "", {168, 218, 393, 18}, help);
    lblHelp4 = CentredLabel(this, "lblHelp4", "", {168, 234, 393, 18}, help);
    imgDownloadBar = TImage::WithPicture(this, "imgDownloadBar", {215, 256, 15, 22}, false);
    lblPercentFinished =
        CentredLabel(this, "lblPercentFinished", "10%", {168, 259, 393, 18}, SerifFont(12));
    mpClick = new QWidget(this);
    mpClick->setObjectName(QStringLiteral("mpClick"));
    mpClick->setGeometry(248, 416, 253, 30);
    mpClick->hide();
    updateDisplay_ = std::make_unique<UpdateDisplay>(
        UpdateDisplay::Controls{imgStatus, lblDownloadingUpdate, lblCurrentUpdate, lblOf,
                                lblNumUpdates, HelpLabels(), imgDownloadBarBg, imgDownloadBar,
                                lblPercentFinished},
        [this] { ProcessPendingMessages(); });
}

void TfrmMain::SetUpMenu() {
    HighlightImages = {img_moLiveChat,    img_moAccountSignup, img_moRegisterAccount,
                       img_moViewWebsite, img_moGameForum,     img_moProblems,
                       img_moClans,       img_moPlayGame,      img_moExit};
    // Highlight pictures count as background for movement.
    for (TImage* highlight : HighlightImages) {
        connect(highlight, &TImage::MouseMoved, this,
                guard_.Slot([this] { menu_.imgBackgroundMouseMove(); }));
    }
    for (std::size_t i = 0; i < HighlightImages.size(); ++i) {
        const int tag = static_cast<int>(i) + 1;
        if (tag != TagPlayGame) { // its picture sticks out above the hot area
            connect(HighlightImages[i], &TImage::Clicked, this,
                    guard_.Slot([this, tag] { menu_.ClickByTag(tag); }));
        }
    }
    connect(imgBackground, &TImage::MouseMoved, this,
            guard_.Slot([this] { menu_.imgBackgroundMouseMove(); }));
    for (TImage* button : {btnLiveChat, btnAccountSignup, btnRegisterAccount, btnViewWebsite,
                           btnGameForum, btnProblems, btnClans, btnPlayGame, btnExit}) {
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

void TfrmMain::SetUpTimers() {
    timer.setInterval(1);
    tmrGameServerOffline.setInterval(500);
    tmrPingGameServerOnline.setInterval(1);
    tmrGaverServerOfflineTooLong.setInterval(30000);
    connect(&timer, &QTimer::timeout, this, guard_.Slot([this] { timerTimer(); }));
    connect(&tmrGameServerOffline, &QTimer::timeout, this,
            guard_.Slot([this] { tmrGameServerOfflineTimer(); }));
    connect(&tmrPingGameServerOnline, &QTimer::timeout, this,
            guard_.Slot([this] { tmrPingGameServerOnlineTimer(); }));
    connect(&tmrGaverServerOfflineTooLong, &QTimer::timeout, this,
            guard_.Slot([this] { tmrGaverServerOfflineTooLongTimer(); }));
}

void TfrmMain::StartTimers() {
    tmrGameServerOffline.start();
    tmrPingGameServerOnline.start();
    tmrGaverServerOfflineTooLong.start();
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
    return updateDisplay_->IsShown();
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
        label->SetColour(red ? Red : Lime);
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
