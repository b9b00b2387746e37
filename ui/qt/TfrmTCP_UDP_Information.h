// The network information window: why the connection may be poor and which
// ports to open. One of its two memos shows at a time; its check box keeps
// its state between showings, so a tick given for one advice also counts
// for the other later in the same run.
#pragma once

#include "launcher/INetworkInformationView.h"
#include "launcher/ModalResult.h"
#include "ui/qt/HandlerGuard.h"

#include <QDialog>

class QCheckBox;
class QPlainTextEdit;

namespace qvs {

class TfrmTCP_UDP_Information : public QDialog, public INetworkInformationView {
    Q_OBJECT

public:
    explicit TfrmTCP_UDP_Information(QWidget* owner);

    // INetworkInformationView
    bool ShowModalWith(Memo memo) override;

    void reject() override;
    bool event(QEvent* event) override;

    QPlainTextEdit* mem1 = nullptr;
    QPlainTextEdit* mem2 = nullptr;
    QCheckBox* cbDoNotDisplayThisMessageInTheFuture = nullptr;

private:
    HandlerGuard guard_; // errors are logged: the window is modal
};

} // namespace qvs
