// Fetches one .ecd file, over HTTP from WebBaseUrl or, with UseServer, from
// the update server (RequestECDFile). The client code (ShortName + "c") is
// stored still scrambled as ShortName + "c.ecd" in InstallDir; a data
// package is unscrambled and unpacked into the installation at once.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "protocol/workers/CWorkerThread.h"
#include "protocol/workers/ServerConversation.h"
#include "system/CDirectory.h"

namespace qvs {

class CRequestECDFileThread final : public CWorkerThread {
public:
    CRequestECDFileThread(WorkerValues& values, std::string host, std::uint16_t port,
                          int waitMs = WaitForDataMs);
    ~CRequestECDFileThread() override;

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
    void StoreClientCode(const CStream& file) const;
    void Unpack(CStream& file);

    std::string host_;
    std::uint16_t port_;
    CDirectory directory_;
};

} // namespace qvs
