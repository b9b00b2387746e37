// The signature check of the new launcher, made on the whole file in memory
// before any of it is written. Without keys in WorkerValues it does
// nothing, and files are taken as they come. Packages are checked while
// they arrive (PackageDownload).
#pragma once

#include "workers/WorkerValues.h"

#include <string_view>

namespace qvs {

class SignedTransfer {
public:
    // The new launcher: signed for its own version, which must be the one
    // the update server announced.
    static void CheckLauncher(const WorkerValues& values, std::string_view program);
};

} // namespace qvs
