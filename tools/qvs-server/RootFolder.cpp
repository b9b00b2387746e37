#include "RootFolder.h"

#include <cerrno>
#include <system_error>

#include <dirent.h>
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "platform/AsciiCase.h"

namespace qvs {

namespace {

// The kernel gives up a walk that a concurrent rename may have misled;
// trying again is what it asks for.
constexpr int ResolveAttempts = 4;

std::string Join(const std::string& folder, std::string_view name) {
    return folder.empty() ? std::string(name) : folder + "/" + std::string(name);
}

} // namespace

RootFolder::RootFolder(const std::string& path)
    : descriptor_(::open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC)) {
    if (descriptor_ < 0) {
        throw std::system_error(errno, std::generic_category(), "cannot open the folder " + path);
    }
    const int self = Open(".", O_PATH);
    if (self < 0) {
        const int error = errno;
        ::close(descriptor_);
        throw std::system_error(error, std::generic_category(),
                                "cannot resolve names below " + path +
                                    " (openat2 needs Linux 5.6 or later)");
    }
    ::close(self);
}

RootFolder::~RootFolder() {
    ::close(descriptor_);
}

int RootFolder::Open(const std::string& relative, int flags) const {
    open_how how{};
    // openat2 refuses flags that mean nothing with O_PATH.
    how.flags = static_cast<std::uint64_t>(flags | O_CLOEXEC | ((flags & O_PATH) ? 0 : O_NOCTTY));
    how.resolve = RESOLVE_BENEATH | RESOLVE_NO_MAGICLINKS;
    const char* name = relative.empty() ? "." : relative.c_str();
    for (int attempt = 0; attempt < ResolveAttempts; ++attempt) {
        const long descriptor = ::syscall(SYS_openat2, descriptor_, name, &how, sizeof how);
        if (descriptor >= 0 || (errno != EAGAIN && errno != EINTR)) {
            return static_cast<int>(descriptor);
        }
    }
    return -1;
}

std::optional<std::string> RootFolder::FindIgnoringCase(const std::string& folder,
                                                        std::string_view name) const {
    const int descriptor = Open(folder, O_RDONLY | O_DIRECTORY);
    DIR* dir = descriptor < 0 ? nullptr : ::fdopendir(descriptor);
    if (dir == nullptr) {
        if (descriptor >= 0) {
            ::close(descriptor);
        }
        return std::nullopt;
    }
    std::optional<std::string> best; // the same one whatever the listing's order
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view candidate(entry->d_name);
        if (platform::EqualIgnoringCase(candidate, name) && (!best || candidate < *best)) {
            best = std::string(candidate);
        }
    }
    ::closedir(dir);
    return best;
}

std::string RootFolder::Match(std::string_view relative) const {
    std::string resolved;
    std::size_t start = 0;
    while (start < relative.size()) {
        const std::size_t end = std::min(relative.find('/', start), relative.size());
        const std::string_view component = relative.substr(start, end - start);
        start = end + 1;
        std::string candidate = Join(resolved, component);
        const int found = Open(candidate, O_PATH);
        if (found >= 0) {
            ::close(found);
        } else if (const auto match = FindIgnoringCase(resolved, component)) {
            candidate = Join(resolved, *match);
        } else {
            // Nothing below a missing component exists.
            return start >= relative.size() ? candidate : Join(candidate, relative.substr(start));
        }
        resolved = std::move(candidate);
    }
    return resolved;
}

std::optional<ServedFile> RootFolder::OpenFile(const std::string& relative) const {
    // Not blocking: a FIFO put in the folder opens at once and is refused.
    return ServedFile::Adopt(Open(relative, O_RDONLY | O_NONBLOCK));
}

bool RootFolder::IsDirectory(const std::string& relative) const {
    const int descriptor = Open(relative, O_PATH | O_DIRECTORY);
    if (descriptor < 0) {
        return false;
    }
    ::close(descriptor);
    return true;
}

std::vector<std::string> RootFolder::ListFiles(const std::string& relative) const {
    std::vector<std::string> names;
    const int descriptor = Open(relative, O_RDONLY | O_DIRECTORY);
    DIR* dir = descriptor < 0 ? nullptr : ::fdopendir(descriptor);
    if (dir == nullptr) {
        if (descriptor >= 0) {
            ::close(descriptor);
        }
        return names;
    }
    while (const dirent* entry = ::readdir(dir)) {
        struct stat info {};
        const bool folder =
            entry->d_type == DT_DIR ||
            (entry->d_type == DT_UNKNOWN &&
             ::fstatat(::dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
             S_ISDIR(info.st_mode));
        if (!folder) {
            names.emplace_back(entry->d_name);
        }
    }
    ::closedir(dir);
    return names;
}

std::optional<std::string> RootFolder::ReadSmall(const std::string& relative,
                                                 std::size_t limit) const {
    const std::optional<ServedFile> file = OpenFile(relative);
    if (!file || file->Size() > limit) {
        return std::nullopt;
    }
    try {
        return file->ReadAll();
    } catch (const std::exception&) {
        return std::nullopt; // shortened meanwhile
    }
}

} // namespace qvs
