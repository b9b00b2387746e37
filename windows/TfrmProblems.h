// The troubleshooting window: six steps, one tab each, from checking the
// Java version to sending a bug report. Created once at start-up and reused,
// so the chosen tab and the Java version text stay between openings.
#pragma once

#include "launcher/gui/QtPrompts.h"
#include "windows/HandlerGuard.h"
#include "windows/ModalResult.h"

#include <QDialog>

#include <memory>
#include <string>

namespace Ui {
class TfrmProblems;
}

namespace qvs {

class IShell;

class TfrmProblems : public QDialog {
    Q_OBJECT

public:
    // installDir ends with a separator. Without prompts the message boxes
    // are owned by this window, which stays on top of the others.
    TfrmProblems(QWidget* owner, std::string installDir, IShell& shell,
                 IPrompts* prompts = nullptr);
    ~TfrmProblems() override;

    // Shows the window modally: OK for the steps that need a restart,
    // Cancel for the web-page steps and for the close box.
    ModalResult ShowModal();

    // The Java version query; tests stand in for the runtime.
    void SetJavaVersionCommandLine(std::string commandLine);

    void reject() override;

protected:
    bool event(QEvent* event) override;

private:
    void SetUpControls();
    void FillMemos();
    void ConnectButtons();
    void OpenPage(const std::string& url);
    // The result is set before the action runs, so a message box of the
    // action shows while the window is still open.
    template <typename Action> void CloseAfter(ModalResult result, Action action);

    void btnDetermineJavaVersionClick();
    void btnEnglishAutomaticClick();
    void btnNonEnglishClick();
    void btnDeleteQVSC_ECDClick();
    void btnDeleteQVS_datClick();
    void btnPatchDownloadClick();
    void btnTroubleShootingClick();
    void btnSubmitBugReportClick();

    std::unique_ptr<Ui::TfrmProblems> ui_;
    std::string installDir_;
    IShell& shell_;
    QtPrompts ownPrompts_;
    IPrompts& prompts_;
    std::string javaCommandLine_;
    HandlerGuard guard_; // every handler's errors are shown
};

} // namespace qvs
