#include "WebPath.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

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

// Whether file, once every link is followed, is a regular file below root.
// One path walk each: this runs for every request.
bool IsFileBelow(const std::filesystem::path& root, const std::filesystem::path& file) {
    std::error_code error;
    const auto realFile = std::filesystem::canonical(file, error);
    if (error || !std::filesystem::is_regular_file(realFile, error)) {
        return false;
    }
    const auto realRoot = std::filesystem::canonical(root, error);
    if (error) {
        return false;
    }
    const auto rootEnd =
        std::mismatch(realRoot.begin(), realRoot.end(), realFile.begin(), realFile.end()).first;
    return rootEnd == realRoot.end();
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
    std::string file = platform::NativePath(root + *path);
    std::error_code error;
    if (std::filesystem::is_directory(file, error)) {
        file = platform::NativePath(file + (file.ends_with('/') ? "" : "/") + "index.html");
    }
    if (!IsFileBelow(root, file)) {
        return std::nullopt;
    }
    return file;
}

} // namespace qvs
