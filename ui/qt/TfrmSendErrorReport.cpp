#include "ui/qt/TfrmSendErrorReport.h"

#include "BuildSettings.h"
#include "launcher/ErrorReport.h"
#include "launcher/IShell.h"
#include "ui/qt/LocalText.h"
#include "ui/qt/TImage.h"
#include "ui/qt/WindowBuilder.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>

namespace qvs {

TfrmSendErrorReport::TfrmSendErrorReport(QWidget* owner, std::string configPath,
                                         std::string errorLogPath, IShell& shell,
                                         std::function<void()> playClickSound)
    : QDialog(owner, WindowFlagsOf(ui::SendErrorReportWindowTable())),
      configPath_(std::move(configPath)), errorLogPath_(std::move(errorLogPath)), shell_(shell),
      playClickSound_(std::move(playClickSound)) {
    BuildWindow(*this, ui::SendErrorReportWindowTable());
    memErrorLog = Find<QPlainTextEdit>(*this, "memErrorLog");
    btnSendErrorReport = Find<TImage>(*this, "btnSendErrorReport");
    btnDontSend = Find<TImage>(*this, "btnDontSend");
    connect(btnSendErrorReport, &TImage::Clicked, this,
            guard_.Slot([this] { btnSendErrorReportClick(); }));
    connect(btnDontSend, &TImage::Clicked, this, guard_.Slot([this] { btnDontSendClick(); }));
    hide();
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
