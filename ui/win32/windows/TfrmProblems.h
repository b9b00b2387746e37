// The troubleshooting window: six steps, one tab each, from checking the
// Java version to sending a bug report. Created once at start-up and reused,
// so the chosen tab and the Java version text stay between openings.
#pragma once

#include "ui/win32/windows/DialogWindow.h"

#include <string>

namespace qvs {
class IPrompts;
class IShell;
} // namespace qvs

namespace qvs::win32 {

class TfrmProblems : public DialogWindow {
public:
    // installDir ends with a separator. Message boxes of the steps belong
    // to this window while it shows.
    TfrmProblems(HWND owner, std::string installDir, IShell& shell, IPrompts& prompts);

    // The Java version query; tests stand in for the runtime.
    void SetJavaVersionCommandLine(std::string commandLine);

    void btnDetermineJavaVersionClick();
    void btnEnglishAutomaticClick();
    void btnNonEnglishClick();
    void btnDeleteQVSC_ECDClick();
    void btnDeleteQVS_datClick();
    void btnPatchDownloadClick();
    void btnTroubleShootingClick();
    void btnSubmitBugReportClick();

protected:
    void Clicked(std::string_view name) override;
    // Every handler's errors are shown.
    void HandlerFailed(const std::string& message) noexcept override;

private:
    // The window closes once the action has run, so a message box of the
    // action shows while the window is still open.
    template <typename Action> void CloseAfter(ModalResult result, Action action);

    std::string installDir_;
    IShell& shell_;
    IPrompts& prompts_;
    std::string javaCommandLine_;
};

} // namespace qvs::win32
