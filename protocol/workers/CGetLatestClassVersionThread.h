// Asks the update server (GetLatestVersion) for the newest version of the client code, named
// ShortName + "c"; the answer goes to LatestClientCodeVersion.
#pragma once

#include <cstdint>
#include <string>

#include "protocol/workers/CWorkerThread.h"

namespace qvs {

class CGetLatestClassVersionThread final : public CWorkerThread {
public:
    CGetLatestClassVersionThread(WorkerValues& values, std::string host, std::uint16_t port,
                                 int waitMs = WaitForDataMs);
    ~CGetLatestClassVersionThread() override;

protected:
    void Execute() override;

private:
    std::string host_;
    std::uint16_t port_;
};

} // namespace qvs
