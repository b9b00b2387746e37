// Included by one source file of a program (its main file), this puts the
// build's four-number version into the binary as a version record, where
// GetFileInformation finds it. Windows programs carry a version resource too.
#pragma once

#include "BuildSettings.h"
#include "platform/VersionRecord.h"

namespace qvs::platform {

// Kept by the compiler although nothing refers to it.
[[gnu::used]] inline constexpr VersionRecord EmbeddedVersionRecord = MakeVersionRecord(
    build::VersionMajor, build::VersionMinor, build::VersionRelease, build::VersionBuild);

} // namespace qvs::platform
