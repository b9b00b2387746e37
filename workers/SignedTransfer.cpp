#include "workers/SignedTransfer.h"

#include "signing/LauncherSignature.h"
#include "signing/SignatureError.h"

namespace qvs {

void SignedTransfer::CheckLauncher(const WorkerValues& values, std::string_view program) {
    if (values.UpdatePublicKeys.empty()) {
        return;
    }
    const platform::FileVersion own = LauncherSignature::Verify(program, values.UpdatePublicKeys);
    if (own != values.LatestLauncherVersion) {
        throw SignatureError("signed for version " + platform::FormatVersion(own) +
                             ", not the announced " +
                             platform::FormatVersion(values.LatestLauncherVersion));
    }
}

} // namespace qvs
