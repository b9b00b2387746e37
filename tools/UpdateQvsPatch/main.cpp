// UpdateQvsPatch: started by the launcher as " <process id> <short name>" in
// the installation directory after it has downloaded a new launcher; puts it
// in place and restarts the launcher (see LauncherPatch.h).
#include "LauncherPatch.h"
#include "PatchArguments.h"
#include "platform/ProgramEnvironment.h"
#include "signing/KeyText.h"

#include <BuildSettings.h>

#include <optional>
#include <string>
#include <vector>

namespace {

// The installation directory in UTF-8 with a trailing separator, whatever
// script its name is in.
std::optional<std::string> InstallDirectory() {
    std::optional<std::string> directory = qvs::platform::CurrentDirectory();
    if (directory && !directory->empty() && directory->back() != '/' && directory->back() != '\\') {
#ifdef _WIN32
        *directory += '\\';
#else
        *directory += '/';
#endif
    }
    return directory;
}

} // namespace

int main(int argc, char** argv) {
    const std::optional<std::string> installDir = InstallDirectory();
    const std::vector<std::string> args = qvs::platform::ProgramArguments(argc, argv);
    const std::optional<qvs::PatchArguments> arguments = qvs::ParsePatchArguments(args);
    if (!installDir || !arguments) {
        std::string line = "unusable command line:";
        for (const std::string& arg : args) {
            line += " \"" + arg + "\"";
        }
        qvs::UpdateLog(installDir.value_or(""), "UpdateQvsPatch").Append(line);
        return 2;
    }
    qvs::LauncherPatch patch(*installDir, arguments->shortName, qvs::LauncherPatch::Timing{},
                             qvs::KeyText::PublicKeys(qvs::build::UpdatePublicKeys));
    return patch.Run(arguments->processId) ? 0 : 1;
}
