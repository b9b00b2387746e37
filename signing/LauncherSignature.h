// The check of a new launcher program: signed for "QVS.exe" at the version
// its own version record holds.
#pragma once

#include "platform/FileVersion.h"

#include <string>
#include <string_view>
#include <vector>

namespace qvs {

class LauncherSignature {
public:
    // The item name a launcher is signed under, whatever the platform.
    static constexpr const char* Name = "QVS.exe";

    // Returns the program's own version; throws SignatureError unless one
    // of publicKeys signed it for that version.
    static platform::FileVersion Verify(std::string_view program,
                                        const std::vector<std::string>& publicKeys);
};

} // namespace qvs
