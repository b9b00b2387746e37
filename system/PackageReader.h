// Walks the directory records of a plain package (see CDirectory), handing
// each directory path and each file to the caller. It checks the layout as it
// goes: counts and sizes that the remaining bytes cannot hold fail with
// StreamReadError before anything is allocated or written, and nesting is
// limited so that a hostile package cannot exhaust the stack. A file's
// content stays in the source until the handler reads it, and whatever the
// handler leaves unread is skipped.
#pragma once

#include "system/PackageContent.h"
#include "system/PackageSource.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace qvs {

class PackageReader {
public:
    static constexpr int MaxDepth = 64;

    using DirectoryHandler = std::function<void(const std::string& path)>;
    // Returns true to end the walk at once.
    using FileHandler = std::function<bool(const std::string& directory, const std::string& name,
                                           PackageContent& content)>;

    PackageReader(PackageSource& package, DirectoryHandler onDirectory, FileHandler onFile);

    // Reads one directory record at the source's position with everything
    // below it; true when the file handler ended the walk.
    bool Read();

private:
    bool ReadDirectory(int depth);
    bool ReadFiles();
    std::int32_t ReadCount(std::size_t smallestRecord);

    PackageSource& package_;
    DirectoryHandler onDirectory_;
    FileHandler onFile_;
};

} // namespace qvs
