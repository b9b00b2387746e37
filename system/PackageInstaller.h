// Unpacks a decoded data package into the installation directory, as the
// launcher does after a download: reads the base directory string, refuses a
// base that would lie outside the installation directory, then ClearEntries
// and ExtractPackage on the given CDirectory, which creates the base when
// missing (and removes it again when the package fails).
#pragma once

#include "protocol/CStream.h"
#include "system/CDirectory.h"
#include "system/PackageSource.h"

#include <string>

namespace qvs {

class PackageInstaller {
public:
    // installDir may be empty (the working directory) or end with a separator.
    PackageInstaller(CDirectory& directory, std::string installDir);

    // package is in plain form, positioned at the base directory string.
    // Returns the base directory as the package names it. Throws PackageError,
    // StreamReadError or platform::FileCreateError.
    std::string Install(CStream& package);
    // The same from any source, such as a package file read piece by piece.
    std::string Install(PackageSource& package);

private:
    CDirectory& directory_;
    std::string installDir_;
};

} // namespace qvs
