#include "workers/SignedTransfer.h"

#include "signing/LauncherSignature.h"
#include "signing/SignatureError.h"
#include "signing/UpdateSignature.h"

namespace qvs {

void SignedTransfer::CheckPackage(const WorkerValues& values, std::string_view file) {
    if (!values.UpdatePublicKeys.empty()) {
        UpdateSignature::Verify(file, values.UpdatePublicKeys,
                                {values.RequestName, std::to_string(values.RequestVersion)});
    }
}

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
