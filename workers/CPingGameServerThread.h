// Asks the game server (StatusQuery) whether it is up; the answer goes to PeopleOnline, NoticeMode,
// NoticeTitle and NoticeHtml.
#pragma once

#include "workers/ServerRequest.h"

namespace qvs {

class CPingGameServerThread final : public ServerRequest {
public:
    using ServerRequest::ServerRequest;

    void Execute();
};

} // namespace qvs
