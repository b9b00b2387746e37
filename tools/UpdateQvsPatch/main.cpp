// UpdateQvsPatch: started by the launcher as " <process id> <short name>" in
// the installation directory after it has downloaded a new launcher; puts it
// in place and restarts the launcher (see LauncherPatch.h).
#include "LauncherPatch.h"
#include "PatchArguments.h"
#include "signing/KeyText.h"

#include <BuildSettings.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

int main(int argc, char** argv) {
    std::error_code error;
    const std::string installDir = (std::filesystem::current_path(error) / "").string();
    const std::vector<std::string> args(argv + 1, argv + argc);
    const std::optional<qvs::PatchArguments> arguments = qvs::ParsePatchArguments(args);
    if (error || !arguments) {
        std::string line = "unusable command line:";
        for (const std::string& arg : args) {
            line += " \"" + arg + "\"";
        }
        qvs::UpdateLog(error ? std::string() : installDir, "UpdateQvsPatch").Append(line);
        return 2;
    }
    qvs::LauncherPatch patch(installDir, arguments->shortName, qvs::LauncherPatch::Timing{},
                             qvs::KeyText::PublicKeys(qvs::build::UpdatePublicKeys));
    return patch.Run(arguments->processId) ? 0 : 1;
}
