#include "launcher/TroubleshootingSteps.h"

#include "BuildSettings.h"
#include "launcher/IShell.h"
#include "platform/FileSystem.h"
#include "system/CheckJavaVersion.h"
#include "system/ExecuteCommandLine.h"
#include "system/IPrompts.h"

#include <algorithm>
#include <array>

namespace qvs {

namespace {

// The shown path keeps the name as the launcher spells it; the file system
// layer finds the file whatever the case of its name on disk.
void DeleteReporting(const std::string& path, IPrompts& prompts) {
    if (!platform::FileExists(path)) {
        prompts.ShowMessage("Could not delete " + path + " : the file did not exist");
    } else if (platform::RemoveFile(path)) {
        prompts.ShowMessage(
            "Successfully deleted " + path +
            ".  Restart Quorvash and press the 'Play Button' To see if that fixed your problem.");
    } else {
        prompts.ShowMessage("Could not delete " + path + " : the file is currently in use");
    }
}

enum class Action { JavaPage, GamePage, DeleteClientCode, DeleteDataVersion };

struct Step {
    std::string_view button;
    ModalResult result;
    Action action;
    const char* path; // of the page
};

constexpr std::array<Step, 7> Steps = {{
    {"btnEnglishAutomatic", ModalResult::OK, Action::JavaPage,
     "/en/download/windows_automatic.jsp"},
    {"btnNonEnglish", ModalResult::OK, Action::JavaPage, ""},
    {"btnDeleteQVSC_ECD", ModalResult::OK, Action::DeleteClientCode, ""},
    {"btnDeleteQVS_dat", ModalResult::OK, Action::DeleteDataVersion, ""},
    {"btnPatchDownload", ModalResult::OK, Action::GamePage, "/download.html"},
    {"btnTroubleShooting", ModalResult::Cancel, Action::GamePage, "/troubleshooting.html"},
    {"btnSubmitBugReport", ModalResult::Cancel, Action::GamePage, "/bugs.html"},
}};

const Step* StepOf(std::string_view button) {
    const auto found = std::ranges::find(Steps, button, &Step::button);
    return found == Steps.end() ? nullptr : &*found;
}

} // namespace

void DeleteClientCodeFiles(const std::string& installDir, IPrompts& prompts) {
    DeleteReporting(installDir + "QVSC.ecd", prompts);
    const std::string versionFile = installDir + "QVSC.dat";
    if (platform::FileExists(versionFile)) {
        platform::RemoveFile(versionFile);
    }
}

void DeleteDataVersionFile(const std::string& installDir, IPrompts& prompts) {
    DeleteReporting(installDir + "QVS.dat", prompts);
}

TroubleshootingSteps::TroubleshootingSteps(std::string installDir, IShell& shell, IPrompts& prompts)
    : installDir_(std::move(installDir)), shell_(shell), prompts_(prompts),
      javaCommandLine_(kJavaVersionCommandLine) {}

std::optional<ModalResult> TroubleshootingSteps::ResultOf(std::string_view button) {
    const Step* step = StepOf(button);
    return step != nullptr ? std::optional(step->result) : std::nullopt;
}

void TroubleshootingSteps::Run(std::string_view button) {
    const Step* step = StepOf(button);
    if (step == nullptr) {
        return;
    }
    switch (step->action) {
    case Action::JavaPage:
        shell_.OpenUrl(std::string(build::JavaSite) + step->path);
        break;
    case Action::GamePage:
        shell_.OpenUrl(std::string(build::GameWebSite) + step->path);
        break;
    case Action::DeleteClientCode:
        DeleteClientCodeFiles(installDir_, prompts_);
        break;
    case Action::DeleteDataVersion:
        DeleteDataVersionFile(installDir_, prompts_);
        break;
    }
}

std::vector<std::string> TroubleshootingSteps::DetermineJavaVersion() const {
    std::vector<std::string> lines;
    ExecuteCommandLine(javaCommandLine_, lines, prompts_);
    return lines;
}

void TroubleshootingSteps::SetJavaVersionCommandLine(std::string commandLine) {
    javaCommandLine_ = std::move(commandLine);
}

} // namespace qvs
