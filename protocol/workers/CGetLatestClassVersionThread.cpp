#include "protocol/workers/CGetLatestClassVersionThread.h"

#include "protocol/UpdateReplies.h"
#include "protocol/UpdateRequests.h"
#include "protocol/workers/ServerConversation.h"

namespace qvs {

CGetLatestClassVersionThread::CGetLatestClassVersionThread(WorkerValues& values, std::string host,
                                                           std::uint16_t port, int waitMs)
    : CWorkerThread(values, waitMs), host_(std::move(host)), port_(port) {}

// Joins here, before this object's members go.
CGetLatestClassVersionThread::~CGetLatestClassVersionThread() {
    WaitFor();
}

void CGetLatestClassVersionThread::Execute() {
    CStream payload = RunUpdateServerConversation(
        Socket, host_, port_, BuildGetLatestVersionRequest(Values().ShortName + "c"),
        MessageType::GetLatestVersion, WaitMs());
    const LatestVersionReply reply = ParseGetLatestVersionReply(payload);
    Values().LatestClientCodeVersion = reply.version;
}

} // namespace qvs
