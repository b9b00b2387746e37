#include "windows/TfrmProblems.h"

#include "BuildSettings.h"
#include "launcher/IShell.h"
#include "launcher/TroubleshootingSteps.h"
#include "launcher/gui/LocalText.h"
#include "launcher/gui/Pictures.h"
#include "system/CheckJavaVersion.h"
#include "system/ExecuteCommandLine.h"
#include "ui_TfrmProblems.h"
#include "windows/TightTabStyle.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>

#include <vector>

namespace qvs {

namespace {

std::vector<std::string> IntroLines() {
    return {
        "Please Follow these steps in order.  Usually each step will require that you restart Quorvash to continue.  If you ",
        "must restart Quorvash to complete a step hit the 'Play Game' button to see if it fixed your problem.  If it did not fix ",
        "your problem reread the step to make sure you followed it correctly.  If you did move on to the next step.",
        "",
        "If you are encountering problems running Quorvash, you can try a few of these steps and see if any of them help",
        "alleviate the problem.",
        "",
        std::string(
            "If none of these steps help fix your problem please submit a bug report or send an email to ") +
            build::SupportEmail,
        std::string("and ") + build::ErrorReportEmail +
            " with your username and a detailed description of the problem that is occuring.",
        "",
        "If you were encountering problems and one of these steps help fixed it, we would also appreciate an email telling us what",
        "the problem was and what step help fixed it.",
        " ",
    };
}

std::vector<std::string> ClientCodeLines() {
    return {
        "It has come to our attention that sometimes when the QVS.exe determines that an update is needed for the client ",
        "software to run, it sometimes downloads a corrupt file.  By deleting the QVSC.ecd file you will force the program to ",
        "redownload and update the client installation.  If you choose to delete the QVSC.ecd file the program will close.  After ",
        "opening the program again and then hitting the play game button, the program will redownload the latest client files ",
        "needed to run the program.",
    };
}

std::vector<std::string> DataFilesLines() {
    return {
        "It has come to our attention that sometimes when the QVS.exe determines that an update is needed for the client ",
        "artwork, sound, data files, etc.  It may sometimes download corrupt artwork, sound or data files.  By deleting the QVS.dat ",
        "file you will force the program to redownload and update ALL artwork, sound, and data files.  Warning this will cause you ",
        "to download a lot of files...all of the latest artwork, sound, and data files.  This may be a lengthy operation.  If you choose ",
        "to delete the QVS.dat file the program will close.  After opening the program again and then hitting the play game button, ",
        "the program will redownload all of the latest artwork, sound, and data files needed by the client program.",
        " ",
    };
}

std::vector<std::string> PatchLines() {
    return {
        "By clicking on the button below we will take you to our website download page.  Any patches that the automatic updater ",
        "could take care of will be available.  If there is no patch available or the patch does not solve your problem, you may ",
        "have recieved a corrupt installation file.  Try downloading Quorvash one more time to see if that fixes the problem.  ",
        "",
        "If it does not fix the problem or none of these steps helped you can move onto the next step.",
    };
}

std::vector<std::string> TroubleShootingLines() {
    return {
        "Well none of the steps helped you so far huh?  You may have an issue communicating with the automatic updater ",
        "and/or game server.  The common causes for this is the use of a firewall and/or router.  If this is the case you should ",
        "have had a window pop up telling you this was the problem and what ports you will have to open to resolve the ",
        "communication issue.",
        "",
        "By clicking on the button below you will be taken to our Trouble Shooting web page.  This page will give you a more ",
        "detailed description of what communication problems can arrise and how you can go about fixing them.",
    };
}

std::vector<std::string> BugReportLines() {
    return {
        "The final step in this process is to submit a bug report to the game developers.",
        "",
        "Please give a detailed description of the problem and anything that you are aware of that may be the cause of the ",
        "problem.  We will try to get back to you as soon as possible so that you can start playing Quorvash.",
        "",
        "You may also use the submit a bug report option to report any bugs in the game as well.",
    };
}

std::string GameWebPage(const char* path) {
    return std::string(build::GameWebSite) + path;
}

} // namespace

TfrmProblems::TfrmProblems(QWidget* owner, std::string installDir, IShell& shell, IPrompts* prompts)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint |
                         Qt::MSWindowsFixedSizeDialogHint),
      ui_(std::make_unique<Ui::TfrmProblems>()), installDir_(std::move(installDir)), shell_(shell),
      ownPrompts_(this), prompts_(prompts != nullptr ? *prompts : ownPrompts_),
      javaCommandLine_(kJavaVersionCommandLine),
      guard_([this](const std::string& message) { prompts_.ShowMessage(message); }) {
    LoadLauncherFonts();
    ui_->setupUi(this);
    setObjectName(QStringLiteral("frmProblems"));
    SetUpControls();
    FillMemos();
    ConnectButtons();
    hide();
}

TfrmProblems::~TfrmProblems() = default;

void TfrmProblems::SetUpControls() {
    setFont(SansSerifFont(11));
    setFixedSize(641, 388);
    QFont heading = SansSerifFont(13, true);
    heading.setItalic(true);
    for (QLabel* label : {ui_->Label1, ui_->Label2, ui_->Label3, ui_->Label4, ui_->Label5,
                          ui_->Label6, ui_->Label7}) {
        label->setFont(heading);
        label->adjustSize();
    }
    // The style's roomy tab padding would push the last steps behind scroll
    // arrows; with less all seven captions fit the window's width.
    auto* tabStyle = new TightTabStyle;
    tabStyle->setParent(ui_->PageControl1);
    ui_->PageControl1->tabBar()->setStyle(tabStyle);
    for (QPlainTextEdit* memo : findChildren<QPlainTextEdit*>()) {
        QPalette colours = memo->palette();
        colours.setColor(QPalette::Base, colours.color(QPalette::Button));
        memo->setPalette(colours);
        memo->setReadOnly(true);
        memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    }
}

void TfrmProblems::FillMemos() {
    SetMemoLines(ui_->Memo1, IntroLines());
    SetMemoLines(ui_->Memo2, ClientCodeLines());
    SetMemoLines(ui_->Memo4, DataFilesLines());
    SetMemoLines(ui_->Memo5, PatchLines());
    SetMemoLines(ui_->Memo6, TroubleShootingLines());
    SetMemoLines(ui_->Memo7, BugReportLines());
}

void TfrmProblems::ConnectButtons() {
    const std::pair<QPushButton*, void (TfrmProblems::*)()> handlers[] = {
        {ui_->btnDetermineJavaVersion, &TfrmProblems::btnDetermineJavaVersionClick},
        {ui_->btnEnglishAutomatic, &TfrmProblems::btnEnglishAutomaticClick},
        {ui_->btnNonEnglish, &TfrmProblems::btnNonEnglishClick},
        {ui_->btnDeleteQVSC_ECD, &TfrmProblems::btnDeleteQVSC_ECDClick},
        {ui_->btnDeleteQVS_dat, &TfrmProblems::btnDeleteQVS_datClick},
        {ui_->btnPatchDownload, &TfrmProblems::btnPatchDownloadClick},
        {ui_->btnTroubleShooting, &TfrmProblems::btnTroubleShootingClick},
        {ui_->btnSubmitBugReport, &TfrmProblems::btnSubmitBugReportClick},
    };
    for (const auto& [button, handler] : handlers) {
        connect(button, &QPushButton::clicked, this,
                guard_.Slot([this, click = handler] { (this->*click)(); }));
    }
}

ModalResult TfrmProblems::ShowModal() {
    return static_cast<ModalResult>(exec());
}

void TfrmProblems::SetJavaVersionCommandLine(std::string commandLine) {
    javaCommandLine_ = std::move(commandLine);
}

void TfrmProblems::reject() {
    done(static_cast<int>(ModalResult::Cancel));
}

bool TfrmProblems::event(QEvent* event) {
    return guard_.Event([this, event] { return QDialog::event(event); });
}

void TfrmProblems::OpenPage(const std::string& url) {
    shell_.OpenUrl(url);
}

template <typename Action> void TfrmProblems::CloseAfter(ModalResult result, Action action) {
    setResult(static_cast<int>(result));
    action();
    done(static_cast<int>(result));
}

void TfrmProblems::btnDetermineJavaVersionClick() {
    std::vector<std::string> lines;
    ExecuteCommandLine(javaCommandLine_, lines, prompts_);
    SetMemoLines(ui_->memJavaVersion, lines);
}

void TfrmProblems::btnEnglishAutomaticClick() {
    CloseAfter(ModalResult::OK, [this] {
        OpenPage(std::string(build::JavaSite) + "/en/download/windows_automatic.jsp");
    });
}

void TfrmProblems::btnNonEnglishClick() {
    CloseAfter(ModalResult::OK, [this] { OpenPage(build::JavaSite); });
}

void TfrmProblems::btnDeleteQVSC_ECDClick() {
    CloseAfter(ModalResult::OK, [this] { DeleteClientCodeFiles(installDir_, prompts_); });
}

void TfrmProblems::btnDeleteQVS_datClick() {
    CloseAfter(ModalResult::OK, [this] { DeleteDataVersionFile(installDir_, prompts_); });
}

void TfrmProblems::btnPatchDownloadClick() {
    CloseAfter(ModalResult::OK, [this] { OpenPage(GameWebPage("/download.html")); });
}

void TfrmProblems::btnTroubleShootingClick() {
    CloseAfter(ModalResult::Cancel, [this] { OpenPage(GameWebPage("/troubleshooting.html")); });
}

void TfrmProblems::btnSubmitBugReportClick() {
    CloseAfter(ModalResult::Cancel, [this] { OpenPage(GameWebPage("/bugs.html")); });
}

} // namespace qvs
