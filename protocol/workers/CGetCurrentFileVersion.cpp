#include "protocol/workers/CGetCurrentFileVersion.h"

#include "platform/FileVersion.h"
#include "protocol/UpdateReplies.h"
#include "protocol/UpdateRequests.h"
#include "protocol/workers/ServerConversation.h"

namespace qvs {

CGetCurrentFileVersion::CGetCurrentFileVersion(WorkerValues& values, std::string host,
                                               std::uint16_t port, int waitMs)
    : CWorkerThread(values, waitMs), host_(std::move(host)), port_(port) {}

// Joins here, before this object's members go.
CGetCurrentFileVersion::~CGetCurrentFileVersion() {
    WaitFor();
}

void CGetCurrentFileVersion::Execute() {
    const std::string launcherFile = Values().ShortName + ".exe";
    CStream payload = RunUpdateServerConversation(Socket, host_, port_,
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
