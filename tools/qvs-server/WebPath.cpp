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

// The path of what path names with every link followed, as the system
// resolved it in one walk (realpath would walk once per component), and
// whether it is a regular file.
std::optional<std::string> RealPath(const std::string& path, bool& regular) {
    const int descriptor = ::open(path.c_str(), O_PATH | O_CLOEXEC);
    if (descriptor < 0) {
        return std::nullopt;
    }
    const std::string self = "/proc/self/fd/" + std::to_string(descriptor);
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink(self.c_str(), buffer, sizeof buffer);
    struct stat info {};
    const bool known = length > 0 && static_cast<std::size_t>(length) < sizeof buffer &&
                       ::fstat(descriptor, &info) == 0;
    ::close(descriptor);
    if (!known) { // no /proc: the slow way
        std::error_code error;
        const auto real = std::filesystem::canonical(path, error);
        regular = !error && std::filesystem::is_regular_file(real, error);
        return error ? std::nullopt : std::optional<std::string>(real.string());
    }
    regular = S_ISREG(info.st_mode);
    return std::string(buffer, static_cast<std::size_t>(length));
}

// The path itself when it exists as written (one look-up), else as
// NativePath matches its names in any letter case (one per component).
std::string ExistingPath(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? path : platform::NativePath(path);
}

// Whether file, once every link is followed, is a regular file below root.
bool IsFileBelow(const std::string& root, const std::string& file) {
    bool regular = false;
    bool ignored = false;
    const auto realFile = RealPath(file, regular);
    const auto realRoot = realFile && regular ? RealPath(root, ignored) : std::nullopt;
    if (!realRoot) {
        return false;
    }
    const std::filesystem::path rootPath(*realRoot);
    const std::filesystem::path filePath(*realFile);
    return std::mismatch(rootPath.begin(), rootPath.end(), filePath.begin(), filePath.end())
               .first == rootPath.end();
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

std::optional<std::string> WebPath::Resolve(const std::string& root, std::string_view target) {
    target = target.substr(0, target.find_first_of("?#"));
    if (target.empty() || target.front() != '/') {
        return std::nullopt;
    }
    const auto path = Decode(target);
    if (!path || !SafeComponents(*path)) {
        return std::nullopt;
    }
    std::string file = ExistingPath(root + *path);
    std::error_code error;
    if (std::filesystem::is_directory(file, error)) {
        file = ExistingPath(file + (file.ends_with('/') ? "" : "/") + "index.html");
    }
    if (!IsFileBelow(root, file)) {
        return std::nullopt;
    }
    return file;
}

} // namespace qvs
