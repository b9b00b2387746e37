// The "Automatic Updater Error" window: why the update pass failed, a
// switch to stop showing it, the error report, and the choice between the
// manual patch (OK) and playing anyway (Cancel or the close box). Created
// once at start-up; closing only hides it.
#pragma once

#include "ui/win32/windows/DialogWindow.h"

#include <functional>
#include <string>
#include <vector>

namespace qvs {
struct ProcessValues;
}

namespace qvs::win32 {

class TfrmProblemsWithUpdater : public DialogWindow {
public:
    // sendErrorReport shows the error report window with the configuration
    // file's text; this window stays open behind it.
    TfrmProblemsWithUpdater(HWND owner, ProcessValues& values,
                            std::function<void()> sendErrorReport);

    // Fills the memo with the lines and shows the window modally.
    ModalResult ShowModal(const std::vector<std::string>& lines);

    void cbDisableAutomaticUpdateErrorDisplayClick();
    void Button1Click();

protected:
    void Clicked(std::string_view name) override;

private:
    ProcessValues& values_;
    std::function<void()> sendErrorReport_;
};

} // namespace qvs::win32
