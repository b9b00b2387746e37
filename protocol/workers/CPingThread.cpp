#include "protocol/workers/CPingThread.h"

#include "protocol/UpdateReplies.h"
#include "protocol/UpdateRequests.h"
#include "protocol/workers/ServerConversation.h"

namespace qvs {

CPingThread::CPingThread(WorkerValues& values, std::string host, std::uint16_t port, int waitMs)
    : CWorkerThread(values, waitMs), host_(std::move(host)), port_(port) {}

// Joins here, before this object's members go.
CPingThread::~CPingThread() {
    WaitFor();
}

void CPingThread::Execute() {
    CStream payload = RunUpdateServerConversation(Socket, host_, port_, BuildPingRequest(),
                                                  MessageType::Ping, WaitMs());
    std::string address = ParsePingReply(payload);
    Values().ObservedAddress = std::move(address);
}

} // namespace qvs
