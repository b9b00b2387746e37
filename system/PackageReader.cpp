#include "system/PackageReader.h"

#include "protocol/CStream.h"
#include "system/PackageError.h"

#include <utility>

namespace qvs {

namespace {
// A terminated empty path and two counts; a file needs two empty strings and a size.
constexpr std::size_t smallestDirectoryRecord = 1 + 4 + 4;
constexpr std::size_t smallestFileRecord = 1 + 1 + 4;
} // namespace

PackageReader::PackageReader(PackageSource& package, DirectoryHandler onDirectory,
                             FileHandler onFile)
    : package_(package), onDirectory_(std::move(onDirectory)), onFile_(std::move(onFile)) {}

bool PackageReader::Read() {
    return ReadDirectory(0);
}

bool PackageReader::ReadDirectory(int depth) {
    if (depth > MaxDepth) {
        throw PackageError("Package directories are nested deeper than " +
                           std::to_string(MaxDepth) + " levels");
    }
    std::string path;
    package_.ReadString(path);
    onDirectory_(path);
    const std::int32_t directories = ReadCount(smallestDirectoryRecord);
    for (std::int32_t i = 0; i < directories; ++i) {
        if (ReadDirectory(depth + 1)) {
            return true;
        }
    }
    return ReadFiles();
}

bool PackageReader::ReadFiles() {
    const std::int32_t files = ReadCount(smallestFileRecord);
    for (std::int32_t i = 0; i < files; ++i) {
        std::string directory;
        std::string name;
        std::int32_t size = 0;
        package_.ReadString(directory);
        package_.ReadString(name);
        package_.ReadInt(size);
        if (size < 0 || static_cast<std::uint64_t>(size) > package_.Remaining()) {
            throw StreamReadError();
        }
        PackageContent content(package_, static_cast<std::size_t>(size));
        const bool stop = onFile_(directory, name, content);
        content.Skip();
        if (stop) {
            return true;
        }
    }
    return false;
}

// A negative count, or one that the remaining bytes cannot hold, means the
// package does not match its own counts.
std::int32_t PackageReader::ReadCount(std::size_t smallestRecord) {
    std::int32_t count = 0;
    package_.ReadInt(count);
    if (count < 0 || static_cast<std::uint64_t>(count) > package_.Remaining() / smallestRecord) {
        throw StreamReadError();
    }
    return count;
}

} // namespace qvs
