// A directory that extraction must not leave, checked on the disk: links
// resolved, so a directory that is a link to elsewhere counts as elsewhere.
// Package paths are checked as text by PackagePath; this catches what the
// text cannot show, such as "linkout\" being a link out of the installation.
#pragma once

#include <filesystem>
#include <string>

namespace qvs {

class DirectoryBoundary {
public:
    // root may be empty (the working directory). Throws PackageError when it
    // cannot be resolved.
    explicit DirectoryBoundary(const std::string& root);

    // Throws PackageError naming path unless path, resolved as far as it
    // exists, is root or lies below it. Call it before creating or writing
    // into path.
    void Check(const std::string& path) const;

private:
    std::filesystem::path root_;
};

} // namespace qvs
