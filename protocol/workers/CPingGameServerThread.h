// Asks the game server (StatusQuery) whether it is up; the answer goes to PeopleOnline, NoticeMode,
// NoticeTitle and NoticeHtml.
#pragma once

#include <cstdint>
#include <string>

#include "protocol/workers/CWorkerThread.h"

namespace qvs {

class CPingGameServerThread final : public CWorkerThread {
public:
    CPingGameServerThread(WorkerValues& values, std::string host, std::uint16_t port,
                          int waitMs = WaitForDataMs);
    ~CPingGameServerThread() override;

protected:
    void Execute() override;

private:
    std::string host_;
    std::uint16_t port_;
};

} // namespace qvs
