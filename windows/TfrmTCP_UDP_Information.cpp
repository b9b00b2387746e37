#include "windows/TfrmTCP_UDP_Information.h"

#include "BuildSettings.h"
#include "launcher/gui/LocalText.h"
#include "launcher/gui/Pictures.h"
#include "ui_TfrmTCP_UDP_Information.h"

#include <QCheckBox>
#include <QPlainTextEdit>

#include <string>
#include <vector>

namespace qvs {

namespace {

void AddPortsAndReference(std::vector<std::string>& lines) {
    for (const char* port : {"6069", "7068", "7069", "7070", "7071", "9006"}) {
        lines.emplace_back(port);
    }
    lines.emplace_back("");
    lines.emplace_back("Please refer to ");
    lines.push_back(std::string(build::GameWebSite) + "/troubleshooting.html" + " for ");
    lines.emplace_back("further assistance.");
}

std::vector<std::string> AddressDifferenceLines() {
    std::vector<std::string> lines = {
        "We have detected that your internal IP address is different from ",
        "your external IP Address.",
        "This is possible if you are behind a firewall, router, or on a ",
        "network.",
        "This could possible cause you to connect via TCP.  You will only ",
        "be able to do real time battles against UPD players.",
        "",
        "For better performance you will want to open the ports mentioned ",
        "below so that you can connect via UDP.",
        "",
        "The following ports will need to be opened for incoming and ",
        "outgoing messages:",
    };
    AddPortsAndReference(lines);
    return lines;
}

std::vector<std::string> SlowContactLines() {
    std::vector<std::string> lines = {
        "It has taken a while to contact the game server.  The server may ",
        "be down or your machine may have a problem communicating ",
        "with the game server.",
        "This is possible if you are behind a firewall, router, or on a ",
        "network.",
        "",
        "If you never have been able to contact the game server the ",
        "following ports will need to be opened for incoming and outgoing ",
        "messages:",
    };
    AddPortsAndReference(lines);
    return lines;
}

} // namespace

TfrmTCP_UDP_Information::TfrmTCP_UDP_Information(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      ui_(std::make_unique<Ui::TfrmTCP_UDP_Information>()) {
    LoadLauncherFonts();
    ui_->setupUi(this);
    setObjectName(QStringLiteral("frmTCP_UDP_Information"));
    mem1 = ui_->mem1;
    mem2 = ui_->mem2;
    cbDoNotDisplayThisMessageInTheFuture = ui_->cbDoNotDisplayThisMessageInTheFuture;
    SetUpControls();
    FillMemos();
    hide();
}

TfrmTCP_UDP_Information::~TfrmTCP_UDP_Information() = default;

void TfrmTCP_UDP_Information::SetUpControls() {
    setFont(SansSerifFont(11));
    setFixedSize(334, 184);
    for (QPlainTextEdit* memo : {mem1, mem2}) {
        QPalette colours = memo->palette();
        colours.setColor(QPalette::Base, colours.color(QPalette::Button));
        memo->setPalette(colours);
        memo->setReadOnly(true);
    }
    cbDoNotDisplayThisMessageInTheFuture->setChecked(false);
}

void TfrmTCP_UDP_Information::FillMemos() {
    SetMemoLines(mem1, AddressDifferenceLines());
    SetMemoLines(mem2, SlowContactLines());
}

bool TfrmTCP_UDP_Information::ShowModalWith(Memo memo) {
    mem1->setVisible(memo == Memo::AddressDifference);
    mem2->setVisible(memo == Memo::SlowContact);
    exec();
    return cbDoNotDisplayThisMessageInTheFuture->isChecked();
}

bool TfrmTCP_UDP_Information::event(QEvent* event) {
    return guard_.Event([this, event] { return QDialog::event(event); });
}

void TfrmTCP_UDP_Information::reject() {
    done(static_cast<int>(ModalResult::Cancel));
}

} // namespace qvs
