#include "workers/CGetLatestVersionThread.h"

#include "protocol/UpdateReplies.h"
#include "protocol/UpdateRequests.h"
#include "workers/ServerConversation.h"

namespace qvs {

void CGetLatestVersionThread::Execute() {
    CStream payload = RunUpdateServerConversation(Socket, Host(), Port(),
                                                  BuildGetLatestVersionRequest(Values().ShortName),
                                                  MessageType::GetLatestVersion, WaitMs());
    const LatestVersionReply reply = ParseGetLatestVersionReply(payload);
    Values().LatestDataVersion = reply.version;
}

} // namespace qvs
