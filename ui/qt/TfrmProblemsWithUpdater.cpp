#include "ui/qt/TfrmProblemsWithUpdater.h"

#include "launcher/ProcessValues.h"
#include "launcher/UpdateFailureReport.h"
#include "ui/qt/LocalText.h"
#include "ui/qt/WindowBuilder.h"
#include "ui/qt/WindowPlacement.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>

namespace qvs {

TfrmProblemsWithUpdater::TfrmProblemsWithUpdater(QWidget* owner, ProcessValues& values,
                                                 std::function<void()> sendErrorReport)
    : QDialog(owner, WindowFlagsOf(ui::ProblemsWithUpdaterWindowTable())), values_(values),
      sendErrorReport_(std::move(sendErrorReport)) {
    BuildWindow(*this, ui::ProblemsWithUpdaterWindowTable());
    memDisplay = Find<QPlainTextEdit>(*this, "memDisplay");
    cbDisableAutomaticUpdateErrorDisplay =
        Find<QCheckBox>(*this, "cbDisableAutomaticUpdateErrorDisplay");
    Button1 = Find<QPushButton>(*this, "Button1");
    btnOk = Find<QPushButton>(*this, "btnOk");
    btnCancel = Find<QPushButton>(*this, "btnCancel");
    ConnectControls();
    hide();
}

void TfrmProblemsWithUpdater::ConnectControls() {
    connect(cbDisableAutomaticUpdateErrorDisplay, &QCheckBox::clicked, this,
            guard_.Slot([this] { cbDisableAutomaticUpdateErrorDisplayClick(); }));
    connect(Button1, &QPushButton::clicked, this, guard_.Slot([this] { Button1Click(); }));
    connect(btnOk, &QPushButton::clicked, this,
            guard_.Slot([this] { done(static_cast<int>(ModalResult::OK)); }));
    connect(btnCancel, &QPushButton::clicked, this, guard_.Slot([this] { reject(); }));
}

ModalResult TfrmProblemsWithUpdater::ShowModal(const std::vector<std::string>& lines) {
    memDisplay->clear();
    for (const std::string& line : lines) {
        memDisplay->appendPlainText(LocalText(line));
    }
    // The explanation is read from its first line.
    memDisplay->moveCursor(QTextCursor::Start);
    btnOk->setFocus();
    return static_cast<ModalResult>(exec());
}

// The close box counts as Cancel: the player goes on to play.
void TfrmProblemsWithUpdater::reject() {
    done(static_cast<int>(ModalResult::Cancel));
}

void TfrmProblemsWithUpdater::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    PlaceOnOwner(*this, frameGeometry().size());
}

bool TfrmProblemsWithUpdater::event(QEvent* event) {
    return guard_.Event([this, event] { return QDialog::event(event); });
}

void TfrmProblemsWithUpdater::cbDisableAutomaticUpdateErrorDisplayClick() {
    UpdateFailureReport::DisableErrorDisplay(*values_.Config,
                                             cbDisableAutomaticUpdateErrorDisplay->isChecked());
}

void TfrmProblemsWithUpdater::Button1Click() {
    if (sendErrorReport_) {
        sendErrorReport_();
    }
}

} // namespace qvs
