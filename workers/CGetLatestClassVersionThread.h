// Asks the update server (GetLatestVersion) for the newest version of the client code, named
// ShortName + "c"; the answer goes to LatestClientCodeVersion.
#pragma once

#include "workers/ServerRequest.h"

namespace qvs {

class CGetLatestClassVersionThread final : public ServerRequest {
public:
    using ServerRequest::ServerRequest;

    void Execute();
};

} // namespace qvs
