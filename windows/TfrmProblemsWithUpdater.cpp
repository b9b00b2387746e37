#include "windows/TfrmProblemsWithUpdater.h"

#include "launcher/CConfig.h"
#include "launcher/ProcessValues.h"
#include "launcher/gui/LocalText.h"
#include "launcher/gui/Pictures.h"
#include "windows/WindowPlacement.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>

namespace qvs {

namespace {

QPushButton* Button(QWidget* owner, const char* name, const char* caption, QRect bounds) {
    auto* button = new QPushButton(QString::fromLatin1(caption), owner);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(bounds);
    return button;
}

} // namespace

TfrmProblemsWithUpdater::TfrmProblemsWithUpdater(QWidget* owner, ProcessValues& values,
                                                 std::function<void()> sendErrorReport)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      values_(values), sendErrorReport_(std::move(sendErrorReport)) {
    LoadLauncherFonts();
    setObjectName(QStringLiteral("frmProblemsWithUpdater"));
    setWindowTitle(QStringLiteral("Automatic Updater Error"));
    setFont(SansSerifFont(11));
    setFixedSize(378, 249);
    BuildControls();
    hide();
}

void TfrmProblemsWithUpdater::BuildControls() {
    memDisplay = new QPlainTextEdit(this);
    memDisplay->setObjectName(QStringLiteral("memDisplay"));
    memDisplay->setGeometry(0, 0, 369, 113);
    memDisplay->setReadOnly(true);
    memDisplay->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memDisplay->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QPalette colours = memDisplay->palette();
    colours.setColor(QPalette::Base, colours.color(QPalette::Button));
    memDisplay->setPalette(colours);

    cbDisableAutomaticUpdateErrorDisplay =
        new QCheckBox(QStringLiteral("Disable Automatic Update Errors From Being Displayed"), this);
    cbDisableAutomaticUpdateErrorDisplay->setObjectName(
        QStringLiteral("cbDisableAutomaticUpdateErrorDisplay"));
    cbDisableAutomaticUpdateErrorDisplay->setGeometry(24, 120, 313, 17);
    connect(cbDisableAutomaticUpdateErrorDisplay, &QCheckBox::clicked, this,
            guard_.Slot([this] { cbDisableAutomaticUpdateErrorDisplayClick(); }));

    Button1 = Button(this, "Button1", "Send This Error To the Developers (Recomended)",
                     {24, 144, 329, 25});
    connect(Button1, &QPushButton::clicked, this, guard_.Slot([this] { Button1Click(); }));
    btnOk = Button(this, "btnOk", "Download New Patch (If problem persists this may be necessary)",
                   {24, 176, 329, 25});
    btnOk->setToolTip(QStringLiteral("Press Ok to Download the latest Patch"));
    connect(btnOk, &QPushButton::clicked, this,
            guard_.Slot([this] { done(static_cast<int>(ModalResult::OK)); }));
    btnCancel =
        Button(this, "btnCancel", "Just Ignore This I want To see If I can Still Play the Game",
               {24, 208, 329, 25});
    btnCancel->setToolTip(
        QStringLiteral("Press Cancel to Play the game without downloading a new patch."));
    connect(btnCancel, &QPushButton::clicked, this, guard_.Slot([this] { reject(); }));

    setTabOrder(btnOk, btnCancel);
    setTabOrder(btnCancel, memDisplay);
    setTabOrder(memDisplay, cbDisableAutomaticUpdateErrorDisplay);
    setTabOrder(cbDisableAutomaticUpdateErrorDisplay, Button1);
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
    const bool off = cbDisableAutomaticUpdateErrorDisplay->isChecked();
    values_.Config->WriteValue("OPTIONS", "DISABLE_ERROR_DISPLAY", off ? "TRUE" : "FALSE");
}

void TfrmProblemsWithUpdater::Button1Click() {
    if (sendErrorReport_) {
        sendErrorReport_();
    }
}

} // namespace qvs
