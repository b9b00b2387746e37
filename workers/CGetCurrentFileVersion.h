// Asks the update server (GetCurrentFileVersion) for the version of the newest launcher and sets
// NewLauncherAvailable when it is newer than the file version of InstallDir + ShortName + ".exe".
#pragma once

#include "workers/ServerRequest.h"

namespace qvs {

class CGetCurrentFileVersion final : public ServerRequest {
public:
    using ServerRequest::ServerRequest;

    void Execute();
};

} // namespace qvs
