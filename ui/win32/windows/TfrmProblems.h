// The troubleshooting window: six steps, one tab each, from checking the
// Java version to sending a bug report. Created once at start-up and reused,
// so the chosen tab and the Java version text stay between openings.
#pragma once

#include "launcher/TroubleshootingSteps.h"
#include "ui/win32/windows/DialogWindow.h"

#include <string>

namespace qvs::win32 {

class TfrmProblems : public DialogWindow {
public:
    // installDir ends with a separator. Message boxes of the steps belong
    // to this window while it shows.
    TfrmProblems(HWND owner, std::string installDir, IShell& shell, IPrompts& prompts);

    // The Java version query; tests stand in for the runtime.
    void SetJavaVersionCommandLine(std::string commandLine);

protected:
    // A button with a result closes the window once its step has run, so a
    // message box of the step shows while the window is still open.
    void Clicked(std::string_view name) override;
    // Every handler's errors are shown.
    void HandlerFailed(const std::string& message) noexcept override;

private:
    IPrompts& prompts_;
    TroubleshootingSteps steps_;
};

} // namespace qvs::win32
