// Fetches the newest launcher, over HTTP from WebBaseUrl or, with UseServer,
// from the update server at ServerHost (DownloadWebFile), and stores it as
// ShortName in upper case ("QVS") in InstallDir, next to the running one.
#pragma once

#include <cstdint>
#include <string>

#include "workers/CFileTransferThread.h"
#include "workers/ServerConversation.h"

namespace qvs {

class CDownloadWebFileThread final : public CFileTransferThread {
public:
    // The update server is asked at ServerHost as it is when the body runs,
    // not as it was when the worker was made. port: the update server's;
    // only tests pass another.
    CDownloadWebFileThread(WorkerValues& values, std::string fileName, int waitMs = WaitForDataMs,
                           std::uint16_t port = UpdateServerPort);

    // The file asked for; the same name in any case means the launcher.
    const std::string FileName;

private:
    void FetchFromServer() override;
    void FetchOverWeb() override;
    std::string LauncherPath() const;
    std::string TargetPath() const;
};

} // namespace qvs
