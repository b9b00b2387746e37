#include "system/PackageInstaller.h"

#include "platform/FileSystem.h"
#include "system/PackageError.h"
#include "system/PackagePath.h"
#include "system/StreamPackageSource.h"

#include <filesystem>
#include <system_error>
#include <utility>

namespace qvs {

namespace {

std::string WithSeparator(std::string path) {
    if (!path.empty() && !PackagePath::EndsWithSeparator(path)) {
        path += '\\';
    }
    return path;
}

// Links resolved, so a base that is a link to elsewhere counts as elsewhere.
std::filesystem::path Resolved(const std::string& path) {
    std::string native = platform::NativePath(path.empty() ? "." : path);
    while (native.size() > 1 && PackagePath::EndsWithSeparator(native)) {
        native.pop_back();
    }
    std::error_code error;
    auto resolved = std::filesystem::weakly_canonical(std::filesystem::path(native), error);
    if (error) {
        throw PackageError("Cannot resolve the directory " + path);
    }
    return resolved.lexically_normal();
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
    CheckResolvedInside(fullBase);
    if (!platform::IsDirectory(fullBase)) {
        platform::MakeDirectory(fullBase);
    }
    directory_.ClearEntries();
    directory_.ExtractPackage(package, fullBase);
    return base;
}

void PackageInstaller::CheckResolvedInside(const std::string& base) const {
    const auto relative = Resolved(base).lexically_relative(Resolved(installDir_));
    if (relative.empty() || *relative.begin() == "..") {
        throw PackageError("Package base directory lies outside the installation directory: " +
                           base);
    }
}

} // namespace qvs
