// POSIX file system: "\" becomes "/", and names are looked up without regard
// to ASCII letter case so that the launcher's Windows names find their files.
#include "platform/FileSystem.h"
#include "platform/AsciiCase.h"
#include "platform/AtomicFileBatch.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <exception>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qvs::platform {

namespace {

bool Exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

// The entry of directory whose name equals name ignoring case; of several,
// the smallest in byte order, so the choice does not depend on listing order.
std::optional<std::string> FindIgnoringCase(const std::string& directory, std::string_view name) {
    DIR* dir = ::opendir(directory.empty() ? "." : directory.c_str());
    if (dir == nullptr) {
        return std::nullopt;
    }
    std::optional<std::string> best;
    while (const dirent* entry = ::readdir(dir)) {
        std::string_view candidate(entry->d_name);
        if (EqualIgnoringCase(candidate, name) && (!best || candidate < *best)) {
            best = std::string(candidate);
        }
    }
    ::closedir(dir);
    return best;
}

std::string JoinPath(const std::string& directory, std::string_view name) {
    if (directory.empty()) {
        return std::string(name);
    }
    if (directory.back() == '/') {
        return directory + std::string(name);
    }
    return directory + "/" + std::string(name);
}

// The native path without trailing separators, so lstat sees a link itself.
std::string NativeEntry(std::string_view path) {
    std::string native = NativePath(path);
    while (native.size() > 1 && native.back() == '/') {
        native.pop_back();
    }
    return native;
}

std::uint32_t AttributesOf(const struct stat& info) {
    if (S_ISLNK(info.st_mode)) {
        return AttrSymlink;
    }
    std::uint32_t attributes = (info.st_mode & S_IWUSR) ? 0U : std::uint32_t{AttrReadOnly};
    if (S_ISDIR(info.st_mode)) {
        attributes |= AttrDirectory;
    } else if (S_ISREG(info.st_mode)) {
        attributes |= AttrArchive;
    }
    return attributes;
}

// Room for a file's content at once, so a large file is not copied as its
// string grows; a file that changes meanwhile is still read as it is.
void ReserveFor(std::string& content, std::uint64_t size) {
    try {
        content.reserve(static_cast<std::size_t>(size));
    } catch (const std::exception&) {
        // Grown piece by piece instead, as far as memory allows.
    }
}

} // namespace

std::string NativePath(std::string_view path) {
    std::string given(path);
    std::replace(given.begin(), given.end(), '\\', '/');
    const bool absolute = !given.empty() && given.front() == '/';
    const bool trailing = given.size() > 1 && given.back() == '/';

    std::string resolved = absolute ? "/" : "";
    bool lookUp = true; // once a component is missing, nothing below it exists
    std::size_t start = 0;
    while (start < given.size()) {
        std::size_t end = std::min(given.find('/', start), given.size());
        std::string_view component(given.data() + start, end - start);
        start = end + 1;
        if (component.empty()) {
            continue;
        }
        std::string candidate = JoinPath(resolved, component);
        if (lookUp && !Exists(candidate)) {
            std::optional<std::string> match = FindIgnoringCase(resolved, component);
            if (match) {
                candidate = JoinPath(resolved, *match);
            } else {
                lookUp = false;
            }
        }
        resolved = std::move(candidate);
    }
    if (trailing && !resolved.empty() && resolved.back() != '/') {
        resolved += '/';
    }
    return resolved;
}

bool IsDirectory(std::string_view path) {
    struct stat info {};
    return ::stat(NativePath(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool FileExists(std::string_view path) {
    struct stat info {};
    return ::stat(NativePath(path).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool MakeDirectory(std::string_view path) {
    return ::mkdir(NativePath(path).c_str(), 0755) == 0;
}

bool RemoveFile(std::string_view path) {
    std::string native = NativeEntry(path);
    struct stat info {};
    if (::lstat(native.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) {
        return false;
    }
    // Windows refuses to delete a read-only file; so do we.
    if (!S_ISLNK(info.st_mode) && !(info.st_mode & S_IWUSR)) {
        return false;
    }
    return ::unlink(native.c_str()) == 0;
}

bool RemoveEmptyDirectory(std::string_view path) {
    std::string native = NativeEntry(path);
    struct stat info {};
    if (::lstat(native.c_str(), &info) != 0) {
        return false;
    }
    if (S_ISLNK(info.st_mode)) {
        return ::unlink(native.c_str()) == 0;
    }
    return S_ISDIR(info.st_mode) && ::rmdir(native.c_str()) == 0;
}

std::optional<std::uint32_t> GetAttributes(std::string_view path) {
    struct stat info {};
    if (::lstat(NativeEntry(path).c_str(), &info) != 0) {
        return std::nullopt;
    }
    return AttributesOf(info);
}

bool SetAttributes(std::string_view path, std::uint32_t attributes) {
    std::string native = NativeEntry(path);
    struct stat info {};
    if (::lstat(native.c_str(), &info) != 0 || S_ISLNK(info.st_mode)) {
        return false; // a link has no mode bits of its own
    }
    // Only read-only has a POSIX meaning; hidden and system are accepted and ignored.
    mode_t mode = info.st_mode & 07777;
    mode = (attributes & AttrReadOnly) ? (mode & ~S_IWUSR) : (mode | S_IWUSR);
    return mode == (info.st_mode & 07777) || ::chmod(native.c_str(), mode) == 0;
}

std::vector<DirectoryEntry> ListDirectory(std::string_view directory) {
    std::vector<DirectoryEntry> entries;
    DIR* dir = ::opendir(NativePath(directory).c_str());
    if (dir == nullptr) {
        return entries;
    }
    const int dirFd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        struct stat info {};
        if (::fstatat(dirFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0) {
            entries.push_back({entry->d_name, AttributesOf(info)});
        }
    }
    ::closedir(dir);
    return entries;
}

std::optional<std::string> ReadWholeFile(std::string_view path) {
    int fd = ::open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    std::string content;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
        ReserveFor(content, static_cast<std::uint64_t>(info.st_size));
    }
    char buffer[65536];
    for (;;) {
        ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            ::close(fd);
            return got == 0 ? std::optional<std::string>(std::move(content)) : std::nullopt;
        }
        content.append(buffer, static_cast<std::size_t>(got));
    }
}

void WriteFileAtomically(std::string_view path, std::span<const std::byte> data) {
    AtomicFileBatch batch;
    batch.Add(path, data);
    batch.Commit();
}

void WriteFileAtomically(std::string_view path, std::string_view data) {
    WriteFileAtomically(path, std::as_bytes(std::span<const char>(data.data(), data.size())));
}

bool CreatePrivateFile(std::string_view path, std::string_view data) {
    const std::string native = NativePath(path);
    const int fd = ::open(native.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        return false;
    }
    bool written = true;
    while (written && !data.empty()) {
        const ssize_t count = ::write(fd, data.data(), data.size());
        written = count > 0;
        data.remove_prefix(written ? static_cast<std::size_t>(count) : 0);
    }
    return ::close(fd) == 0 && written;
}

} // namespace qvs::platform
