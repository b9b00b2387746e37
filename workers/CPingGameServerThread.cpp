#include "workers/CPingGameServerThread.h"

#include "protocol/GameServerStatus.h"
#include "workers/ServerConversation.h"

namespace qvs {

void CPingGameServerThread::Execute() {
    CStream body = RunGameServerConversation(Socket, Host(), Port(), BuildStatusQuery(), WaitMs());
    StatusReply reply = ParseStatusReply(body);
    WorkerValues& values = Values();
    values.PeopleOnline = reply.peopleOnline;
    values.NoticeMode = reply.noticeMode;
    values.NoticeTitle = std::move(reply.noticeTitle);
    values.NoticeHtml = std::move(reply.noticeHtml);
}

} // namespace qvs
