#include "workers/CGetCurrentFileVersion.h"

#include "platform/FileVersion.h"
#include "protocol/UpdateReplies.h"
#include "protocol/UpdateRequests.h"
#include "workers/ServerConversation.h"

namespace qvs {

void CGetCurrentFileVersion::Execute() {
    const std::string launcherFile = Values().ShortName + ".exe";
    CStream payload = RunUpdateServerConversation(Socket, Host(), Port(),
                                                  BuildGetCurrentFileVersionRequest(launcherFile),
                                                  MessageType::GetCurrentFileVersion, WaitMs());
    const platform::FileVersion server = ParseGetCurrentFileVersionReply(payload);
    const platform::FileVersion local =
        platform::GetFileInformation(Values().InstallDir + launcherFile);
    Values().LatestLauncherVersion = server;
    // Only ever forward: an older or equal server version changes nothing.
    if (server > local) {
        Values().NewLauncherAvailable = true;
    }
}

} // namespace qvs
