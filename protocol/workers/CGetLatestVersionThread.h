// Asks the update server (GetLatestVersion) for the newest version of the art and sound data set,
// named ShortName; the answer goes to LatestDataVersion.
#pragma once

#include <cstdint>
#include <string>

#include "protocol/workers/CWorkerThread.h"

namespace qvs {

class CGetLatestVersionThread final : public CWorkerThread {
public:
    CGetLatestVersionThread(WorkerValues& values, std::string host, std::uint16_t port,
                            int waitMs = WaitForDataMs);
    ~CGetLatestVersionThread() override;

protected:
    void Execute() override;

private:
    std::string host_;
    std::uint16_t port_;
};

} // namespace qvs
