// The error report window: the game's error log and the launcher's
// configuration file as one editable text, which the player copies into a
// mail to the developers. Created once at start-up; closing only hides it,
// so the text and any edits stay for the next showing.
#pragma once

#include "ui/win32/windows/DialogWindow.h"

#include <functional>
#include <string>

namespace qvs {
class IShell;
}

namespace qvs::win32 {

class TfrmSendErrorReport : public DialogWindow {
public:
    // Reads no file yet: FormCreate does, once the start-up has written
    // the configuration file.
    TfrmSendErrorReport(HWND owner, std::string configPath, std::string errorLogPath, IShell& shell,
                        std::function<void()> playClickSound);

    // Builds the report text: the configuration file, an empty line, then
    // the first lines of the error log. Run once at start-up.
    void FormCreate();
    // Replaces the report text by the configuration file alone, as the
    // updater error window sends it.
    void LoadConfiguration();
    // The report text as it goes to the clipboard: every line ended by CR LF.
    std::string ReportText() const;

    void btnSendErrorReportClick();
    void btnDontSendClick();

protected:
    void Clicked(std::string_view name) override;

private:
    void PlayClickSound() const;

    std::string configPath_;
    std::string errorLogPath_;
    IShell& shell_;
    std::function<void()> playClickSound_;
};

} // namespace qvs::win32
