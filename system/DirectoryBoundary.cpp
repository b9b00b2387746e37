#include "system/DirectoryBoundary.h"

#include "platform/FileSystem.h"
#include "platform/Utf8Path.h"
#include "system/PackageError.h"
#include "system/PackagePath.h"

#include <system_error>

namespace qvs {

namespace {

// The existing part resolved (case-insensitive names first, then links), the
// rest kept as text.
std::filesystem::path Resolved(const std::string& path) {
    std::string native = platform::NativePath(path.empty() ? "." : path);
    while (native.size() > 1 && PackagePath::EndsWithSeparator(native)) {
        native.pop_back();
    }
    std::error_code error;
    auto resolved = std::filesystem::weakly_canonical(platform::Utf8Path(native), error);
    if (error) {
        throw PackageError("Cannot resolve the directory " + path);
    }
    return resolved.lexically_normal();
}

} // namespace

DirectoryBoundary::DirectoryBoundary(const std::string& root) : root_(Resolved(root)) {}

void DirectoryBoundary::Check(const std::string& path) const {
    const auto relative = Resolved(path).lexically_relative(root_);
    if (relative.empty() || *relative.begin() == "..") {
        throw PackageError("Package directory lies outside " + platform::Utf8String(root_) + ": " +
                           path);
    }
}

} // namespace qvs
