// What the two file-fetching request bodies share: the choice between the
// update web host (HTTP) and the update server, and the progress the owner
// shows while they run.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "workers/ServerConversation.h"
#include "workers/ServerRequest.h"

namespace qvs {

class CFileTransferThread : public ServerRequest {
public:
    // Set by the owner before Resume: true asks the update server.
    bool UseServer = false;
    // HTTP only: 0 while running, 1 success, 2 failure.
    std::atomic<std::int32_t> TransferResult{0};
    // BytesTotal and BytesReceived, read by the owner while the worker runs.
    TransferProgress Progress;

    // Starts the counts at 0, then fetches one way or the other.
    void Execute();

protected:
    using ServerRequest::ServerRequest;
    virtual ~CFileTransferThread() = default;

    virtual void FetchFromServer() = 0;
    virtual void FetchOverWeb() = 0;
};

} // namespace qvs
