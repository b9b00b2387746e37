#include "signing/LauncherSignature.h"

#include "platform/VersionRecord.h"
#include "signing/SignatureError.h"
#include "signing/UpdateSignature.h"

namespace qvs {

platform::FileVersion LauncherSignature::Verify(std::string_view program,
                                                const std::vector<std::string>& publicKeys) {
    const std::optional<std::string> text =
        platform::FindVersionRecord(UpdateSignature::Content(program));
    if (!text) {
        throw SignatureError("the program carries no version");
    }
    const platform::FileVersion version = platform::ParseVersionText(*text);
    UpdateSignature::Verify(program, publicKeys, {Name, platform::FormatVersion(version)});
    return version;
}

} // namespace qvs
