// Asks the update server (GetCurrentFileVersion) for the version of the newest launcher and sets
// NewLauncherAvailable when it is newer than the file version of InstallDir + ShortName + ".exe".
#pragma once

#include <cstdint>
#include <string>

#include "protocol/workers/CWorkerThread.h"

namespace qvs {

class CGetCurrentFileVersion final : public CWorkerThread {
public:
    CGetCurrentFileVersion(WorkerValues& values, std::string host, std::uint16_t port,
                           int waitMs = WaitForDataMs);
    ~CGetCurrentFileVersion() override;

protected:
    void Execute() override;

private:
    std::string host_;
    std::uint16_t port_;
};

} // namespace qvs
