// The troubleshooting window: an introduction and six steps, one tab each,
// from checking the Java version to sending a bug report. Created once at
// start-up and reused, so the chosen tab and the Java version text stay
// between openings. The steps themselves are the core's.
#pragma once

#include "launcher/ModalResult.h"
#include "launcher/TroubleshootingSteps.h"
#include "ui/qt/HandlerGuard.h"
#include "ui/qt/QtPrompts.h"

#include <QDialog>

#include <string>
#include <string_view>

namespace qvs {

class IShell;

class TfrmProblems : public QDialog {
    Q_OBJECT

public:
    // installDir ends with a separator. Without prompts the message boxes
    // are owned by this window, which stays on top of the others.
    TfrmProblems(QWidget* owner, std::string installDir, IShell& shell,
                 IPrompts* prompts = nullptr);

    // Shows the window modally: OK for the steps that need a restart,
    // Cancel for the web-page steps and for the close box.
    ModalResult ShowModal();

    // The Java version query; tests stand in for the runtime.
    void SetJavaVersionCommandLine(std::string commandLine);

    void reject() override;

protected:
    bool event(QEvent* event) override;

private:
    void ConnectButtons();
    // A step with a result sets it before it runs, so a message box of the
    // step shows while the window is still open; then the window closes.
    void Click(std::string_view button);

    QtPrompts ownPrompts_;
    IPrompts& prompts_;
    TroubleshootingSteps steps_;
    HandlerGuard guard_; // every handler's errors are shown
};

} // namespace qvs
