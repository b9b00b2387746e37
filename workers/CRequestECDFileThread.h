// Fetches one .ecd file, over HTTP from WebBaseUrl or, with UseServer, from
// the update server (RequestECDFile). The client code (ShortName + "c") is
// stored still scrambled as ShortName + "c.ecd" in InstallDir; a data
// package is unscrambled and unpacked into the installation at once.
#pragma once

#include <cstdint>
#include <string>

#include "system/CDirectory.h"
#include "workers/CFileTransferThread.h"
#include "workers/ServerConversation.h"

namespace qvs {

class CRequestECDFileThread final : public CFileTransferThread {
public:
    using CFileTransferThread::CFileTransferThread;

private:
    void FetchFromServer() override;
    void FetchOverWeb() override;
    void StoreClientCode(const CStream& file) const;
    void Unpack(CStream& file);

    CDirectory directory_;
};

} // namespace qvs
