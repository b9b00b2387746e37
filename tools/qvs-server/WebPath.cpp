#include "WebPath.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/FileSystem.h"

namespace qvs {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

bool SafeComponents(const std::string& path) {
    std::size_t start = 1; // after the leading "/"
    while (start < path.size()) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        const std::string_view part(path.data() + start, end - start);
        if (part.empty() || part == "." || part == "..") {
            return false;
        }
        start = end + 1;
    }
    return path.find('\\') == std::string::npos && path.find('\0') == std::string::npos;
}

// What descriptor, opened from path, leads to with every link followed, as
// the system resolved it in one walk (realpath walks once per component).
std::optional<std::string> RealPath(int descriptor, const std::string& path) {
    const std::string self = "/proc/self/fd/" + std::to_string(descriptor);
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink(self.c_str(), buffer, sizeof buffer);
    if (length > 0 && static_cast<std::size_t>(length) < sizeof buffer) {
        return std::string(buffer, static_cast<std::size_t>(length));
    }
    std::error_code error; // no /proc: the slow way
    const auto canonical = std::filesystem::canonical(path, error);
    return error ? std::nullopt : std::optional<std::string>(canonical.string());
}

std::optional<std::string> RealPath(const std::string& path) {
    const int descriptor = ::open(path.c_str(), O_PATH | O_CLOEXEC);
    if (descriptor < 0) {
        return std::nullopt;
    }
    auto real = RealPath(descriptor, path);
    ::close(descriptor);
    return real;
}

// The path itself when it exists as written (one look-up), else as
// NativePath matches its names in any letter case (one per component);
// mode is what it names with links followed, 0 when nothing.
std::string ExistingPath(const std::string& path, mode_t& mode) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        mode = info.st_mode;
        return path;
    }
    std::string native = platform::NativePath(path);
    mode = ::stat(native.c_str(), &info) == 0 ? info.st_mode : 0;
    return native;
}

// The file that target names below root, as written, before links are
// checked; index.html for a folder. Only regular files are ever opened.
std::optional<std::string> Candidate(const std::string& root, std::string_view target) {
    target = target.substr(0, target.find_first_of("?#"));
    if (target.empty() || target.front() != '/') {
        return std::nullopt;
    }
    const auto path = WebPath::Decode(target);
    if (!path || !SafeComponents(*path)) {
        return std::nullopt;
    }
    mode_t mode = 0;
    std::string file = ExistingPath(root + *path, mode);
    if (S_ISDIR(mode)) {
        file = ExistingPath(file + (file.ends_with('/') ? "" : "/") + "index.html", mode);
    }
    return S_ISREG(mode) ? std::optional<std::string>(file) : std::nullopt;
}

bool IsBelow(const std::string& realRoot, const std::string& realFile) {
    const std::filesystem::path rootPath(realRoot);
    const std::filesystem::path filePath(realFile);
    return std::mismatch(rootPath.begin(), rootPath.end(), filePath.begin(), filePath.end())
               .first == rootPath.end();
}

// The file opened, when it is a regular file that lies below root once every
// link is followed. The check is made on the open descriptor, so a link
// changed meanwhile cannot slip another file in.
std::optional<ServedFile> OpenBelow(const std::string& root, const std::string& file) {
    std::optional<ServedFile> served = ServedFile::Open(file);
    if (!served) {
        return std::nullopt;
    }
    const auto realFile = RealPath(served->Descriptor(), file);
    const auto realRoot = realFile ? RealPath(root) : std::nullopt;
    if (!realRoot || !IsBelow(*realRoot, *realFile)) {
        return std::nullopt;
    }
    return served;
}

} // namespace

std::optional<std::string> WebPath::Decode(std::string_view text) {
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            decoded.push_back(text[i]);
            continue;
        }
        if (i + 2 >= text.size()) {
            return std::nullopt;
        }
        const int high = HexValue(text[i + 1]);
        const int low = HexValue(text[i + 2]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        decoded.push_back(static_cast<char>(high * 16 + low));
        i += 2;
    }
    return decoded;
}

std::optional<ServedFile> WebPath::Open(const std::string& root, std::string_view target,
                                        std::string& path) {
    const auto file = Candidate(root, target);
    path = file.value_or("");
    return file ? OpenBelow(root, *file) : std::nullopt;
}

} // namespace qvs
