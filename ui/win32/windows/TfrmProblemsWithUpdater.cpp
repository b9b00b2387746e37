#include "ui/win32/windows/TfrmProblemsWithUpdater.h"

#include "launcher/ProcessValues.h"
#include "launcher/UpdateFailureReport.h"

namespace qvs::win32 {

TfrmProblemsWithUpdater::TfrmProblemsWithUpdater(HWND owner, ProcessValues& values,
                                                 std::function<void()> sendErrorReport)
    : DialogWindow(ui::ProblemsWithUpdaterWindowTable(), owner), values_(values),
      sendErrorReport_(std::move(sendErrorReport)) {
    SetInitialFocus("btnOk");
}

ModalResult TfrmProblemsWithUpdater::ShowModal(const std::vector<std::string>& lines) {
    SetLines("memDisplay", lines);
    return DialogWindow::ShowModal();
}

void TfrmProblemsWithUpdater::Clicked(std::string_view name) {
    if (name == "cbDisableAutomaticUpdateErrorDisplay") {
        cbDisableAutomaticUpdateErrorDisplayClick();
    } else if (name == "Button1") {
        Button1Click();
    } else if (name == "btnOk") {
        Close(ModalResult::OK);
    } else if (name == "btnCancel") {
        Close(ModalResult::Cancel);
    }
}

void TfrmProblemsWithUpdater::cbDisableAutomaticUpdateErrorDisplayClick() {
    UpdateFailureReport::DisableErrorDisplay(*values_.Config,
                                             IsChecked("cbDisableAutomaticUpdateErrorDisplay"));
}

void TfrmProblemsWithUpdater::Button1Click() {
    if (sendErrorReport_) {
        sendErrorReport_();
    }
}

} // namespace qvs::win32
