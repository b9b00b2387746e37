#include "system/PackageInstaller.h"

#include "system/DirectoryBoundary.h"
#include "system/PackageError.h"
#include "system/PackagePath.h"
#include "system/StreamPackageSource.h"

#include <utility>

namespace qvs {

namespace {

std::string WithSeparator(std::string path) {
    if (!path.empty() && !PackagePath::EndsWithSeparator(path)) {
        path += '\\';
    }
    return path;
}

} // namespace

PackageInstaller::PackageInstaller(CDirectory& directory, std::string installDir)
    : directory_(directory), installDir_(WithSeparator(std::move(installDir))) {}

std::string PackageInstaller::Install(CStream& package) {
    StreamPackageSource source(package);
    return Install(source);
}

std::string PackageInstaller::Install(PackageSource& package) {
    std::string base;
    package.ReadString(base);
    PackagePath::CheckInside(installDir_, base);
    const std::string fullBase = installDir_ + base;
    DirectoryBoundary(installDir_).Check(fullBase);
    directory_.ClearEntries();
    directory_.ExtractPackage(package, fullBase);
    return base;
}

} // namespace qvs
