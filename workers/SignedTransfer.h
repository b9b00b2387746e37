// The signature checks of the file-fetching workers, made on the whole file
// in memory before any of it is written. Without keys in WorkerValues they
// do nothing, and files are taken as they come.
#pragma once

#include "workers/WorkerValues.h"

#include <string_view>

namespace qvs {

class SignedTransfer {
public:
    // The .ecd file asked for: RequestName at RequestVersion.
    static void CheckPackage(const WorkerValues& values, std::string_view file);
    // The new launcher: signed for its own version, which must be the one
    // the update server announced.
    static void CheckLauncher(const WorkerValues& values, std::string_view program);
};

} // namespace qvs
