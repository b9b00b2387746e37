// The troubleshooting window's steps, by the names of its buttons: open a
// page of the Java vendor or the game's web site, delete the client code or
// the installed version files so that the next update pass fetches that
// part again, or show the installed Java version.
#pragma once

#include "launcher/ModalResult.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qvs {

class IPrompts;
class IShell;

// Deletes "QVSC.ecd" in installDir and tells the player how that went; then
// deletes "QVSC.dat" there silently, so the next start reads client-code
// version 0 even when the code file was already gone.
void DeleteClientCodeFiles(const std::string& installDir, IPrompts& prompts);

// Deletes "QVS.dat" in installDir and tells the player how that went; the
// next start reads data-set version 0 and fetches every data version again.
void DeleteDataVersionFile(const std::string& installDir, IPrompts& prompts);

class TroubleshootingSteps {
public:
    // installDir ends with a separator.
    TroubleshootingSteps(std::string installDir, IShell& shell, IPrompts& prompts);

    // The result the window closes with once the button's step has run: OK
    // for the steps that take effect after a restart, Cancel for the web
    // pages of the last two steps. None for Determine Now, which leaves the
    // window open, and for names that are no step.
    static std::optional<ModalResult> ResultOf(std::string_view button);
    // Runs the step of a button that has a result; other names do nothing.
    void Run(std::string_view button);

    // Determine Now: the lines that the Java version query printed; none
    // when it could not run (a message box has said so).
    std::vector<std::string> DetermineJavaVersion() const;
    // The Java version query; tests stand in for the runtime.
    void SetJavaVersionCommandLine(std::string commandLine);

private:
    std::string installDir_;
    IShell& shell_;
    IPrompts& prompts_;
    std::string javaCommandLine_;
};

} // namespace qvs
