// Asks the update server (GetLatestVersion) for the newest version of the art and sound data set,
// named ShortName; the answer goes to LatestDataVersion.
#pragma once

#include "workers/ServerRequest.h"

namespace qvs {

class CGetLatestVersionThread final : public ServerRequest {
public:
    using ServerRequest::ServerRequest;

    void Execute();
};

} // namespace qvs
