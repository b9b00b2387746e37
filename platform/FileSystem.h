// File system operations of the OS layer.
//
// Every path argument may use "\" (as stored in packages and in the launcher's
// own names such as "Log\") or the native separator; on POSIX each "\" becomes
// "/" and every existing component is matched without regard to letter case,
// so "QVSC.ecd" and "qvsc.ecd" name one file as they do on Windows.
//
// Paths are UTF-8. On Windows a path that is not valid UTF-8 names no file:
// the functions below fail on it, and the error of a write says why.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace qvs::platform {

// Names differ from the Win32 functions (DeleteFile, ReplaceFile, ...) that
// windows.h defines as macros.

// The Windows attribute bits; POSIX maps what it can (see ListDirectory).
enum FileAttribute : std::uint32_t {
    AttrReadOnly = 0x01,
    AttrHidden = 0x02,
    AttrSystem = 0x04,
    AttrVolumeLabel = 0x08,
    AttrDirectory = 0x10,
    AttrArchive = 0x20,
    AttrSymlink = 0x400, // a symbolic link or reparse point: never followed by tree walks
};

struct DirectoryEntry {
    std::string name;
    std::uint32_t attributes = 0;
};

// Raised when a file cannot be created or written. The message is "Cannot
// create file " and the file's name, with the platform's separator only,
// followed by why where that is known, in words a player understands (on
// Windows also a name that is not valid UTF-8).
class FileCreateError : public std::runtime_error {
public:
    enum class Cause { Unknown, DiskFull, ReadOnlyFile, ReadOnlyFolder, FolderInTheWay };

    explicit FileCreateError(const std::string& path, Cause cause = Cause::Unknown);
    FileCreateError(const std::string& path, const std::string& reason);
    // The cause an operating system error stands for; Unknown for most.
    static Cause CauseOf(std::error_code error);

    Cause GetCause() const { return cause_; }

private:
    Cause cause_ = Cause::Unknown;
};

// Native form of a path: separators mapped, existing components resolved
// case-insensitively, components that do not exist yet kept as given.
std::string NativePath(std::string_view path);

bool IsDirectory(std::string_view path);
bool FileExists(std::string_view path);    // a regular file (or link to one)
bool MakeDirectory(std::string_view path); // one level; false when it failed
bool RemoveFile(std::string_view path);    // refuses read-only files on every platform
bool RemoveEmptyDirectory(
    std::string_view path); // empty directories only; a link is removed, not followed
std::optional<std::uint32_t> GetAttributes(std::string_view path);
bool SetAttributes(std::string_view path, std::uint32_t attributes);

// All entries of a directory, "." and ".." included, in no particular order;
// empty when the directory cannot be listed.
std::vector<DirectoryEntry> ListDirectory(std::string_view directory);

// The whole file, or nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(std::string_view path);

// Writes data to a temporary file beside path, flushes it to the disk and
// renames it over path, so readers see the old file or the new one, never a
// part. An existing file whose name differs only in case is the one replaced.
// Throws FileCreateError when any step fails; the old file is then untouched.
void WriteFileAtomically(std::string_view path, std::span<const std::byte> data);
void WriteFileAtomically(std::string_view path, std::string_view data);

// Creates a new file that only its owner may read (mode 0600 on POSIX) and
// writes data to it; false when path exists already or any step fails.
bool CreatePrivateFile(std::string_view path, std::string_view data);

} // namespace qvs::platform
