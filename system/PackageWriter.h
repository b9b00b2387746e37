// Builds the plain package of a folder tree, the inverse of
// CDirectory::ExtractPackage: the base directory string, then the folder as
// the root record, each sub-folder as a record whose path (relative to the
// base, ending in "\") precedes its own sub-folders and files. Names are taken
// in byte order, so the same tree always gives the same bytes. Links are
// skipped: a package carries only what lies inside the folder.
#pragma once

#include "protocol/CStream.h"

#include <string>
#include <string_view>

namespace qvs {

class PackageWriter {
public:
    // Appends the package to out at its position. Throws std::runtime_error
    // for an unreadable folder or file, a file of 2 GiB or more, a name that
    // holds "\" or nesting deeper than the launcher unpacks.
    static void Write(CStream& out, const std::string& folder, std::string_view baseDirectory);

private:
    static void WriteDirectory(CStream& out, const std::string& folder, const std::string& relative,
                               int depth);
    static void WriteFile(CStream& out, const std::string& folder, const std::string& relative,
                          const std::string& name);
};

} // namespace qvs
