#include "workers/CPingThread.h"

#include "protocol/UpdateReplies.h"
#include "protocol/UpdateRequests.h"
#include "workers/ServerConversation.h"

namespace qvs {

void CPingThread::Execute() {
    CStream payload = RunUpdateServerConversation(Socket, Host(), Port(), BuildPingRequest(),
                                                  MessageType::Ping, WaitMs());
    std::string address = ParsePingReply(payload);
    Values().ObservedAddress = std::move(address);
}

} // namespace qvs
