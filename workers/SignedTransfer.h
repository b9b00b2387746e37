// The signature checks of the file-fetching workers, made on the whole file
// in memory before any of it is written. Without keys in WorkerValues they
// do nothing, and files are taken as they come. A package's digest is taken
// while it arrives.
#pragma once

#include "workers/ArrivingDigest.h"
#include "workers/WorkerValues.h"

#include <memory>
#include <string_view>

namespace qvs {

class SignedTransfer {
public:
    // A digest to offer the package to as it arrives; none without keys.
    static std::unique_ptr<ArrivingDigest> StartDigest(const WorkerValues& values);
    // The .ecd file asked for: RequestName at RequestVersion; digest is
    // what StartDigest gave, having seen the file arrive.
    static void CheckPackage(const WorkerValues& values, std::string_view file,
                             ArrivingDigest* digest);
    // The new launcher: signed for its own version, which must be the one
    // the update server announced.
    static void CheckLauncher(const WorkerValues& values, std::string_view program);
};

} // namespace qvs
