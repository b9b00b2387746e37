#include "launcher/ClassDirectory.h"

#include "platform/FileSystem.h"
#include "platform/Utf8Path.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

namespace qvs {

namespace fs = std::filesystem;

namespace {

// Absolute, links resolved where the path exists, no trailing separator.
fs::path Resolved(const std::string& text) {
    std::error_code error;
    fs::path path = fs::absolute(platform::Utf8Path(platform::NativePath(text)), error);
    fs::path canonical = fs::weakly_canonical(path, error);
    if (!error) {
        path = canonical;
    }
    path = path.lexically_normal();
    if (!path.has_filename() && path.has_relative_path()) {
        path = path.parent_path();
    }
    return path;
}

bool IsAbsoluteName(std::string_view name) {
    std::string slashed(name);
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    const fs::path path(slashed);
    return path.has_root_directory() || path.has_root_name();
}

// The same directory, by its text or, written another way (letter case,
// a link), on disk.
bool SameDirectory(const fs::path& a, const fs::path& b) {
    if (a == b) {
        return true;
    }
    std::error_code error;
    const bool same = fs::equivalent(a, b, error);
    return same && !error;
}

ClassDirectoryPlace PlaceOf(const fs::path& directory, const fs::path& installDir) {
    if (SameDirectory(directory, installDir)) {
        return ClassDirectoryPlace::InstallDir;
    }
    for (fs::path parent = directory.parent_path(); parent != parent.parent_path();
         parent = parent.parent_path()) {
        if (SameDirectory(parent, installDir)) {
            return ClassDirectoryPlace::Inside;
        }
    }
    return ClassDirectoryPlace::Outside;
}

} // namespace

ClassDirectory ResolveClassDirectory(std::string_view name, const std::string& installDir) {
    const std::string text =
        IsAbsoluteName(name) ? std::string(name) : installDir + std::string(name);
    const fs::path directory = Resolved(text);
    ClassDirectory result;
    result.place = PlaceOf(directory, Resolved(installDir));
    result.path = platform::Utf8String(directory);
    if (result.path.empty() ||
        result.path.back() != static_cast<char>(fs::path::preferred_separator)) {
        result.path += static_cast<char>(fs::path::preferred_separator);
    }
    return result;
}

bool MakeClassDirectory(const std::string& path) {
    std::vector<fs::path> missing;
    fs::path level = Resolved(path);
    while (!platform::IsDirectory(platform::Utf8String(level)) && level != level.parent_path()) {
        missing.push_back(level);
        level = level.parent_path();
    }
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        if (!platform::MakeDirectory(platform::Utf8String(*it))) {
            return false;
        }
    }
    return true;
}

} // namespace qvs
