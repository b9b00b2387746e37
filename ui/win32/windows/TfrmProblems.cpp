#include "ui/win32/windows/TfrmProblems.h"

#include "system/IPrompts.h"
#include "ui/tables/WindowTables.h"

#include <utility>

namespace qvs::win32 {

TfrmProblems::TfrmProblems(HWND owner, std::string installDir, IShell& shell, IPrompts& prompts)
    : DialogWindow(ui::ProblemsWindowTable(), owner), prompts_(prompts),
      steps_(std::move(installDir), shell, prompts) {}

void TfrmProblems::SetJavaVersionCommandLine(std::string commandLine) {
    steps_.SetJavaVersionCommandLine(std::move(commandLine));
}

void TfrmProblems::Clicked(std::string_view name) {
    if (const std::optional<ModalResult> result = TroubleshootingSteps::ResultOf(name)) {
        steps_.Run(name);
        Close(*result);
    } else if (name == "btnDetermineJavaVersion") {
        SetLines("memJavaVersion", steps_.DetermineJavaVersion());
    }
}

void TfrmProblems::HandlerFailed(const std::string& message) noexcept {
    try {
        prompts_.ShowMessage(message);
    } catch (...) {
    }
}

} // namespace qvs::win32
