#include "protocol/workers/CGetLatestVersionThread.h"

#include "protocol/UpdateReplies.h"
#include "protocol/UpdateRequests.h"
#include "protocol/workers/ServerConversation.h"

namespace qvs {

CGetLatestVersionThread::CGetLatestVersionThread(WorkerValues& values, std::string host,
                                                 std::uint16_t port, int waitMs)
    : CWorkerThread(values, waitMs), host_(std::move(host)), port_(port) {}

// Joins here, before this object's members go.
CGetLatestVersionThread::~CGetLatestVersionThread() {
    WaitFor();
}

void CGetLatestVersionThread::Execute() {
    CStream payload = RunUpdateServerConversation(Socket, host_, port_,
                                                  BuildGetLatestVersionRequest(Values().ShortName),
                                                  MessageType::GetLatestVersion, WaitMs());
    const LatestVersionReply reply = ParseGetLatestVersionReply(payload);
    Values().LatestDataVersion = reply.version;
}

} // namespace qvs
