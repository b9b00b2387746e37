// The "Automatic Updater Error" window: why the update pass failed, a
// switch to stop showing it, the error report, and the choice between the
// manual patch (OK) and playing anyway (Cancel or the close box). Created
// once at start-up; closing only hides it.
#pragma once

#include "launcher/ModalResult.h"
#include "ui/qt/HandlerGuard.h"

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class QCheckBox;
class QPlainTextEdit;
class QPushButton;

namespace qvs {

struct ProcessValues;

class TfrmProblemsWithUpdater : public QDialog {
    Q_OBJECT

public:
    // sendErrorReport shows the error report window with the configuration
    // file's text; this window stays open behind it.
    TfrmProblemsWithUpdater(QWidget* owner, ProcessValues& values,
                            std::function<void()> sendErrorReport);

    // Fills the memo with the lines and shows the window modally.
    ModalResult ShowModal(const std::vector<std::string>& lines);
    void reject() override;

    QPlainTextEdit* memDisplay = nullptr;
    QCheckBox* cbDisableAutomaticUpdateErrorDisplay = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

private:
    void ConnectControls();
    void cbDisableAutomaticUpdateErrorDisplayClick();
    void Button1Click();

    ProcessValues& values_;
    std::function<void()> sendErrorReport_;
    HandlerGuard guard_; // errors are logged: the window is modal
};

} // namespace qvs
