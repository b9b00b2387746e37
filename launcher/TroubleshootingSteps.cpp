#include "launcher/TroubleshootingSteps.h"

#include "platform/FileSystem.h"
#include "system/IPrompts.h"

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

} // namespace qvs
