// Fetches one .ecd file, over HTTP from WebBaseUrl or, with UseServer, from
// the update server (RequestECDFile). The client code (ShortName + "c") is
// stored still scrambled as ShortName + "c.ecd" in InstallDir; a data
// package is unscrambled and unpacked into the installation at once.
#pragma once

#include <cstdint>
#include <string>

#include "protocol/workers/CFileTransferThread.h"
#include "protocol/workers/ServerConversation.h"
#include "system/CDirectory.h"

namespace qvs {

class CRequestECDFileThread final : public CFileTransferThread {
public:
    CRequestECDFileThread(WorkerValues& values, std::string host, std::uint16_t port,
                          int waitMs = WaitForDataMs);
    ~CRequestECDFileThread() override;

private:
    void FetchFromServer() override;
    void FetchOverWeb() override;
    void StoreClientCode(const CStream& file) const;
    void Unpack(CStream& file);

    std::string host_;
    std::uint16_t port_;
    CDirectory directory_;
};

} // namespace qvs
