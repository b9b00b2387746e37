// Asks the update server (Ping) at which address it sees us; the answer goes to ObservedAddress.
#pragma once

#include "workers/ServerRequest.h"

namespace qvs {

class CPingThread final : public ServerRequest {
public:
    using ServerRequest::ServerRequest;

    void Execute();
};

} // namespace qvs
