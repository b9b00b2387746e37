#include "windows/TfrmSendErrorReport.h"

#include "BuildSettings.h"
#include "launcher/ErrorReport.h"
#include "launcher/IShell.h"
#include "launcher/gui/LocalText.h"
#include "launcher/gui/Pictures.h"
#include "launcher/gui/TImage.h"
#include "ui_TfrmSendErrorReport.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>

namespace qvs {

namespace {

const QColor Orange(255, 128, 0);

// While the pointer is over the hot area the "on" picture replaces the
// "off" one.
void HookHover(TImage* hotArea, TImage* off, TImage* on) {
    QObject::connect(hotArea, &TImage::Entered, hotArea, [off, on] {
        on->show();
        off->hide();
    });
    QObject::connect(hotArea, &TImage::Left, hotArea, [off, on] {
        off->show();
        on->hide();
    });
}

} // namespace

TfrmSendErrorReport::TfrmSendErrorReport(QWidget* owner, std::string configPath,
                                         std::string errorLogPath, IShell& shell,
                                         std::function<void()> playClickSound)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      ui_(std::make_unique<Ui::TfrmSendErrorReport>()), configPath_(std::move(configPath)),
      errorLogPath_(std::move(errorLogPath)), shell_(shell),
      playClickSound_(std::move(playClickSound)) {
    LoadLauncherFonts();
    ui_->setupUi(this);
    setObjectName(QStringLiteral("frmSendErrorReport"));
    setWindowIcon(LauncherIcon());
    memErrorLog = ui_->memErrorLog;
    SetUpControls();
    BuildPictureButtons();
    hide();
}

TfrmSendErrorReport::~TfrmSendErrorReport() = default;

void TfrmSendErrorReport::SetUpControls() {
    setFont(SansSerifFont(11));
    setFixedSize(432, 279);
    for (QLabel* label : {ui_->Label1, ui_->Label2, ui_->Label3}) {
        label->setFont(SerifFont(15, true, true));
        QPalette colours = label->palette();
        colours.setColor(QPalette::WindowText, Orange);
        label->setPalette(colours);
        label->setAutoFillBackground(false);
        label->adjustSize();
    }
    QPalette colours = memErrorLog->palette();
    colours.setColor(QPalette::Base, Qt::white);
    colours.setColor(QPalette::Text, Qt::black);
    memErrorLog->setPalette(colours);
    memErrorLog->setFont(SansSerifFont(11));
    memErrorLog->clear();
}

void TfrmSendErrorReport::BuildPictureButtons() {
    imgSendErrorReportOff =
        TImage::WithPicture(this, "imgSendErrorReportOff", {24, 248, 160, 22}, true);
    imgSendErrorReportOn =
        TImage::WithPicture(this, "imgSendErrorReportOn", {24, 248, 160, 22}, false);
    imgCancelOff = TImage::WithPicture(this, "imgCancelOff", {312, 248, 66, 24}, true);
    imgCancelOn = TImage::WithPicture(this, "imgCancelOn", {312, 248, 66, 24}, false);
    // The hot areas lie above the pictures.
    btnSendErrorReport = new TImage(this, QStringLiteral("btnSendErrorReport"), {24, 248, 160, 22});
    btnDontSend = new TImage(this, QStringLiteral("btnDontSend"), {312, 247, 66, 24});
    HookHover(btnSendErrorReport, imgSendErrorReportOff, imgSendErrorReportOn);
    HookHover(btnDontSend, imgCancelOff, imgCancelOn);
    connect(btnSendErrorReport, &TImage::Clicked, this,
            guard_.Slot([this] { btnSendErrorReportClick(); }));
    connect(btnDontSend, &TImage::Clicked, this, guard_.Slot([this] { btnDontSendClick(); }));
}

void TfrmSendErrorReport::FormCreate() {
    SetReportText(BuildErrorReportText(configPath_, errorLogPath_));
}

void TfrmSendErrorReport::LoadConfiguration() {
    SetReportText(ConfigurationReportText(configPath_));
}

void TfrmSendErrorReport::SetReportText(const std::string& crLfText) {
    QString text = LocalText(crLfText);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    memErrorLog->setPlainText(text);
}

namespace {

QString WithCrLf(QString text) {
    return text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

} // namespace

std::string TfrmSendErrorReport::ReportText() const {
    return WithCrLf(memErrorLog->toPlainText()).toLocal8Bit().toStdString();
}

ModalResult TfrmSendErrorReport::ShowModal() {
    return static_cast<ModalResult>(exec());
}

void TfrmSendErrorReport::reject() {
    done(static_cast<int>(ModalResult::Cancel));
}

bool TfrmSendErrorReport::event(QEvent* event) {
    return guard_.Event([this, event] { return QDialog::event(event); });
}

void TfrmSendErrorReport::btnSendErrorReportClick() {
    if (playClickSound_) {
        playClickSound_();
    }
    QGuiApplication::clipboard()->setText(WithCrLf(memErrorLog->toPlainText()));
    shell_.OpenUrl(ErrorReportMailLink(build::ErrorReportEmail));
    done(static_cast<int>(ModalResult::OK));
}

void TfrmSendErrorReport::btnDontSendClick() {
    if (playClickSound_) {
        playClickSound_();
    }
    done(static_cast<int>(ModalResult::Cancel));
}

} // namespace qvs
