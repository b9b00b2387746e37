#include "workers/SignedTransfer.h"

#include "signing/LauncherSignature.h"
#include "signing/SignatureError.h"
#include "signing/UpdateSignature.h"

namespace qvs {

std::unique_ptr<ArrivingDigest> SignedTransfer::StartDigest(const WorkerValues& values) {
    return values.UpdatePublicKeys.empty() ? nullptr : std::make_unique<ArrivingDigest>();
}

void SignedTransfer::CheckPackage(const WorkerValues& values, std::string_view file,
                                  ArrivingDigest* digest) {
    if (values.UpdatePublicKeys.empty()) {
        return;
    }
    const SignedItem item{values.RequestName, std::to_string(values.RequestVersion)};
    if (digest == nullptr) {
        UpdateSignature::Verify(file, values.UpdatePublicKeys, item);
        return;
    }
    UpdateSignature::Verify(file, values.UpdatePublicKeys, item, [&](std::uint64_t contentSize) {
        return digest->Finish(file, contentSize);
    });
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
