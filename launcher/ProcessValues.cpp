#include "launcher/ProcessValues.h"

#include "BuildSettings.h"
#include "launcher/CConfig.h"
#include "signing/KeyText.h"
#include "system/CDirectory.h"

namespace qvs {

ProcessValues::ProcessValues(std::string installDir)
    : SoundsDir(installDir + "sounds\\"), LogDir(installDir + "Log\\"),
      ErrorLogPath(LogDir + "betaErrorLog.out") {
    Workers.InstallDir = std::move(installDir);
    Workers.WebBaseUrl = std::string("http://") + build::UpdateWebHost + "/updates/";
    Workers.ServerHost = build::ServerHost;
    Workers.UpdatePublicKeys = KeyText::PublicKeys(build::UpdatePublicKeys);
    UpdateServerHost = build::ServerHost;
    WebHostName = build::UpdateWebHost;
    ServerHostName = build::ServerHost;
}

ProcessValues::~ProcessValues() = default;

} // namespace qvs
