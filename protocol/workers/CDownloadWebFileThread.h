// Fetches the newest launcher, over HTTP from WebBaseUrl or, with UseServer,
// from the update server at ServerHost (DownloadWebFile), and stores it as
// ShortName in upper case ("QVS") in InstallDir, next to the running one.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "protocol/workers/CWorkerThread.h"
#include "protocol/workers/ServerConversation.h"

namespace qvs {

class CDownloadWebFileThread final : public CWorkerThread {
public:
    // port: the update server's; only tests pass another.
    CDownloadWebFileThread(WorkerValues& values, std::string fileName, int waitMs = WaitForDataMs,
                           std::uint16_t port = UpdateServerPort);
    ~CDownloadWebFileThread() override;

    // The file asked for; the same name in any case means the launcher.
    const std::string FileName;
    // Set by the owner before Resume: true asks the update server.
    bool UseServer = false;
    // HTTP only: 0 while running, 1 success, 2 failure.
    std::atomic<std::int32_t> TransferResult{0};
    // BytesTotal and BytesReceived, read by the owner while the worker runs.
    TransferProgress Progress;

protected:
    void Execute() override;

private:
    void FetchFromServer();
    void FetchOverWeb();
    std::string LauncherPath() const;
    std::string TargetPath() const;

    std::uint16_t port_;
};

} // namespace qvs
