#include "WebPath.h"

#include <algorithm>

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

// The name below the root that target gives, index.html for a folder, as
// RootFolder matches it; nothing when the target is malformed.
std::optional<std::string> Candidate(const RootFolder& root, std::string_view target) {
    target = target.substr(0, target.find_first_of("?#"));
    if (target.empty() || target.front() != '/') {
        return std::nullopt;
    }
    const auto path = WebPath::Decode(target);
    if (!path || !SafeComponents(*path)) {
        return std::nullopt;
    }
    std::string file = root.Match(std::string_view(*path).substr(1));
    if (root.IsDirectory(file)) {
        file = root.Match(file.empty() ? "index.html" : file + "/index.html");
    }
    return file;
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

std::optional<ServedFile> WebPath::Open(const RootFolder& root, std::string_view target,
                                        std::string& path) {
    const auto file = Candidate(root, target);
    path = file.value_or("");
    return file ? root.OpenFile(*file) : std::nullopt;
}

} // namespace qvs
