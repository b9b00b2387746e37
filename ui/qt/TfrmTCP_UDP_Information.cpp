#include "ui/qt/TfrmTCP_UDP_Information.h"

#include "ui/qt/WindowBuilder.h"

#include <QCheckBox>
#include <QPlainTextEdit>

namespace qvs {

TfrmTCP_UDP_Information::TfrmTCP_UDP_Information(QWidget* owner)
    : QDialog(owner, WindowFlagsOf(ui::NetworkInformationWindowTable())) {
    BuildWindow(*this, ui::NetworkInformationWindowTable());
    mem1 = Find<QPlainTextEdit>(*this, "mem1");
    mem2 = Find<QPlainTextEdit>(*this, "mem2");
    cbDoNotDisplayThisMessageInTheFuture =
        Find<QCheckBox>(*this, "cbDoNotDisplayThisMessageInTheFuture");
    hide();
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
