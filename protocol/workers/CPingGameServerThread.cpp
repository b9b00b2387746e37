#include "protocol/workers/CPingGameServerThread.h"

#include "protocol/GameServerStatus.h"
#include "protocol/workers/ServerConversation.h"

namespace qvs {

CPingGameServerThread::CPingGameServerThread(WorkerValues& values, std::string host,
                                             std::uint16_t port, int waitMs)
    : CWorkerThread(values, waitMs), host_(std::move(host)), port_(port) {}

// Joins here, before this object's members go.
CPingGameServerThread::~CPingGameServerThread() {
    WaitFor();
}

void CPingGameServerThread::Execute() {
    CStream body = RunGameServerConversation(Socket, host_, port_, BuildStatusQuery(), WaitMs());
    StatusReply reply = ParseStatusReply(body);
    WorkerValues& values = Values();
    values.PeopleOnline = reply.peopleOnline;
    values.NoticeMode = reply.noticeMode;
    values.NoticeTitle = std::move(reply.noticeTitle);
    values.NoticeHtml = std::move(reply.noticeHtml);
}

} // namespace qvs
