#include "ui/qt/UpdateDisplay.h"

#include "ui/qt/LocalText.h"
#include "ui/qt/TImage.h"
#include "ui/qt/TLabel.h"

#include <QThread>

namespace qvs {

UpdateDisplay::UpdateDisplay(const Controls& controls, std::function<void()> processPendingMessages)
    : controls_(controls), processPendingMessages_(std::move(processPendingMessages)) {}

void UpdateDisplay::Begin(int count, const std::string& what, const std::string& host) {
    const Controls& c = controls_;
    c.imgStatus->show();
    c.lblDownloadingUpdate->show();
    c.lblCurrentUpdate->SetCaption(QStringLiteral("1"));
    c.lblCurrentUpdate->show();
    c.lblNumUpdates->SetCaption(QString::number(count));
    c.lblNumUpdates->show();
    c.lblOf->show();
    c.help[0]->SetCaption(QString());
    c.help[1]->SetCaption(LocalText(what));
    c.help[1]->show();
    c.help[2]->SetCaption(LocalText(host));
    c.help[2]->show();
    c.help[3]->SetCaption(QString());
    c.imgDownloadBarBg->show();
    c.imgDownloadBar->show();
    c.lblPercentFinished->show();
    c.lblPercentFinished->SetCaption(QStringLiteral("0%"));
    c.imgDownloadBar->raise();
    c.lblPercentFinished->raise();
}

void UpdateDisplay::SetLine(std::size_t line, const std::string& text) {
    controls_.help.at(line - 1)->SetCaption(LocalText(text));
}

void UpdateDisplay::SetCurrentUpdate(int number) {
    controls_.lblCurrentUpdate->SetCaption(QString::number(number));
}

void UpdateDisplay::ShowProgress(int barWidth, const std::string& percent) {
    TImage* bar = controls_.imgDownloadBar;
    bar->resize(barWidth, bar->height());
    controls_.lblPercentFinished->SetCaption(LocalText(percent));
}

void UpdateDisplay::End(const std::string& message) {
    const Controls& c = controls_;
    for (TLabel* line : c.help) {
        line->hide();
    }
    c.help[0]->show();
    if (message.empty()) {
        c.help[0]->SetCaption(QStringLiteral("Download Complete"));
    } else {
        c.help[0]->SetCaption(LocalText(message));
        processPendingMessages_();
        QThread::msleep(500);
    }
    for (QWidget* control : std::initializer_list<QWidget*>{
             c.lblDownloadingUpdate, c.lblCurrentUpdate, c.lblNumUpdates, c.lblOf,
             c.imgDownloadBarBg, c.imgDownloadBar, c.lblPercentFinished}) {
        control->hide();
    }
}

bool UpdateDisplay::IsShown() const {
    return !controls_.lblDownloadingUpdate->isHidden();
}

} // namespace qvs
