// Asks the update server (Ping) at which address it sees us; the answer goes to ObservedAddress.
#pragma once

#include <cstdint>
#include <string>

#include "protocol/workers/CWorkerThread.h"

namespace qvs {

class CPingThread final : public CWorkerThread {
public:
    CPingThread(WorkerValues& values, std::string host, std::uint16_t port,
                int waitMs = WaitForDataMs);
    ~CPingThread() override;

protected:
    void Execute() override;

private:
    std::string host_;
    std::uint16_t port_;
};

} // namespace qvs
