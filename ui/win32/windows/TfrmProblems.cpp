#include "ui/win32/windows/TfrmProblems.h"

#include "BuildSettings.h"
#include "launcher/IShell.h"
#include "launcher/TroubleshootingSteps.h"
#include "system/CheckJavaVersion.h"
#include "system/ExecuteCommandLine.h"
#include "ui/tables/WindowSpec.h"

#include <utility>
#include <vector>

namespace qvs::win32 {

namespace {

std::string GameWebPage(const char* path) {
    return std::string(build::GameWebSite) + path;
}

} // namespace

TfrmProblems::TfrmProblems(HWND owner, std::string installDir, IShell& shell, IPrompts& prompts)
    : DialogWindow(ui::ProblemsWindowTable(), owner), installDir_(std::move(installDir)),
      shell_(shell), prompts_(prompts), javaCommandLine_(kJavaVersionCommandLine) {}

void TfrmProblems::SetJavaVersionCommandLine(std::string commandLine) {
    javaCommandLine_ = std::move(commandLine);
}

void TfrmProblems::Clicked(std::string_view name) {
    static constexpr std::pair<std::string_view, void (TfrmProblems::*)()> Handlers[] = {
        {"btnDetermineJavaVersion", &TfrmProblems::btnDetermineJavaVersionClick},
        {"btnEnglishAutomatic", &TfrmProblems::btnEnglishAutomaticClick},
        {"btnNonEnglish", &TfrmProblems::btnNonEnglishClick},
        {"btnDeleteQVSC_ECD", &TfrmProblems::btnDeleteQVSC_ECDClick},
        {"btnDeleteQVS_dat", &TfrmProblems::btnDeleteQVS_datClick},
        {"btnPatchDownload", &TfrmProblems::btnPatchDownloadClick},
        {"btnTroubleShooting", &TfrmProblems::btnTroubleShootingClick},
        {"btnSubmitBugReport", &TfrmProblems::btnSubmitBugReportClick},
    };
    for (const auto& [button, handler] : Handlers) {
        if (button == name) {
            (this->*handler)();
        }
    }
}

template <typename Action> void TfrmProblems::CloseAfter(ModalResult result, Action action) {
    action();
    Close(result);
}

void TfrmProblems::HandlerFailed(const std::string& message) noexcept {
    try {
        prompts_.ShowMessage(message);
    } catch (...) {
    }
}

void TfrmProblems::btnDetermineJavaVersionClick() {
    std::vector<std::string> lines;
    ExecuteCommandLine(javaCommandLine_, lines, prompts_);
    SetLines("memJavaVersion", lines);
}

void TfrmProblems::btnEnglishAutomaticClick() {
    CloseAfter(ModalResult::OK, [this] {
        shell_.OpenUrl(std::string(build::JavaSite) + "/en/download/windows_automatic.jsp");
    });
}

void TfrmProblems::btnNonEnglishClick() {
    CloseAfter(ModalResult::OK, [this] { shell_.OpenUrl(build::JavaSite); });
}

void TfrmProblems::btnDeleteQVSC_ECDClick() {
    CloseAfter(ModalResult::OK, [this] { DeleteClientCodeFiles(installDir_, prompts_); });
}

void TfrmProblems::btnDeleteQVS_datClick() {
    CloseAfter(ModalResult::OK, [this] { DeleteDataVersionFile(installDir_, prompts_); });
}

void TfrmProblems::btnPatchDownloadClick() {
    CloseAfter(ModalResult::OK, [this] { shell_.OpenUrl(GameWebPage("/download.html")); });
}

void TfrmProblems::btnTroubleShootingClick() {
    CloseAfter(ModalResult::Cancel,
               [this] { shell_.OpenUrl(GameWebPage("/troubleshooting.html")); });
}

void TfrmProblems::btnSubmitBugReportClick() {
    CloseAfter(ModalResult::Cancel, [this] { shell_.OpenUrl(GameWebPage("/bugs.html")); });
}

} // namespace qvs::win32
