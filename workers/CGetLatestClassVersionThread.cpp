#include "workers/CGetLatestClassVersionThread.h"

#include "protocol/UpdateReplies.h"
#include "protocol/UpdateRequests.h"
#include "workers/ServerConversation.h"

namespace qvs {

void CGetLatestClassVersionThread::Execute() {
    CStream payload = RunUpdateServerConversation(
        Socket, Host(), Port(), BuildGetLatestVersionRequest(Values().ShortName + "c"),
        MessageType::GetLatestVersion, WaitMs());
    const LatestVersionReply reply = ParseGetLatestVersionReply(payload);
    Values().LatestClientCodeVersion = reply.version;
}

} // namespace qvs
