// Fetches one .ecd file, over HTTP from WebBaseUrl or, with UseServer, from
// the update server (RequestECDFile). The item asked for decides where it
// goes on both paths: the client code (a RequestName ending in "c") is
// stored still scrambled as ShortName + "c.ecd" in InstallDir; a data
// package is unscrambled and unpacked into the installation.
//
// The file goes to a temporary file in the installation folder as it
// arrives (the client code to the one that will replace "qvsc.ecd"), its
// digest taken meanwhile, so a package of any size needs a few MiB of
// memory. Nothing is installed before the file is whole and its signature
// checked, and the temporary file is gone afterwards whatever happened.
#pragma once

#include <functional>

#include "system/CDirectory.h"
#include "workers/CFileTransferThread.h"
#include "workers/ServerConversation.h"

namespace qvs {

class CRequestECDFileThread final : public CFileTransferThread {
public:
    using CFileTransferThread::CFileTransferThread;

private:
    // Runs the transfer, handing each piece of the file to the sink.
    using Transfer = std::function<void(const PieceSink& sink)>;

    void FetchFromServer() override;
    void FetchOverWeb() override;
    void Fetch(const Transfer& transfer);
    void FetchClientCode(const Transfer& transfer);
    void FetchDataPackage(const Transfer& transfer);

    CDirectory directory_;
};

} // namespace qvs
