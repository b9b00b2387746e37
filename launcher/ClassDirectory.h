// The class directory that a client code file names, resolved against the
// installation directory. The launch empties it before extracting the
// start-up class, so where it lies decides what may be deleted: only a
// directory strictly inside the installation is ever emptied.
#pragma once

#include <string>
#include <string_view>

namespace qvs {

enum class ClassDirectoryPlace {
    InstallDir, // the installation directory itself (also the empty name)
    Inside,     // strictly below the installation directory
    Outside,    // anywhere else, the installation's parents included
};

struct ClassDirectory {
    // Absolute, with links and "." and ".." resolved, ending with the
    // platform's separator.
    std::string path;
    ClassDirectoryPlace place = ClassDirectoryPlace::Outside;
};

// A relative name is taken below installDir; an absolute one as it stands.
// Links are followed, so a link inside the installation that points out of
// it counts as outside. Directories need not exist yet.
ClassDirectory ResolveClassDirectory(std::string_view name, const std::string& installDir);

// Creates path and every missing level above it; false when a level could
// not be made.
bool MakeClassDirectory(const std::string& path);

} // namespace qvs
