#include "system/PackagePath.h"

#include "system/PackageError.h"

#include <string>
#include <vector>

namespace qvs {

namespace {

std::vector<std::string_view> SplitComponents(std::string_view path) {
    std::vector<std::string_view> components;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || PackagePath::IsSeparator(path[i])) {
            if (i > start) {
                components.push_back(path.substr(start, i - start));
            }
            start = i + 1;
        }
    }
    return components;
}

[[noreturn]] void Refuse(std::string_view relative, const char* reason) {
    throw PackageError("Package path refused (" + std::string(reason) +
                       "): " + std::string(relative));
}

} // namespace

bool PackagePath::EndsWithSeparator(std::string_view path) {
    return !path.empty() && IsSeparator(path.back());
}

// Windows drops trailing dots and blanks from names, so ". ." or "..." may act
// as ".." there: refuse every component made of dots and blanks with two dots.
bool PackagePath::IsParentReference(std::string_view component) {
    std::size_t dots = 0;
    for (char c : component) {
        if (c == '.') {
            ++dots;
        } else if (c != ' ') {
            return false;
        }
    }
    return dots >= 2;
}

void PackagePath::CheckInside(std::string_view base, std::string_view relative) {
    if (relative.empty()) {
        return;
    }
    if (IsSeparator(relative.front())) {
        Refuse(relative, "absolute");
    }
    if (relative.find(':') != std::string_view::npos) {
        Refuse(relative, "drive or stream");
    }
    // Plain concatenation may merge the last name of base with the first of
    // relative ("x\." + ".\y"), so the check runs on the joined path.
    const std::size_t baseCount = SplitComponents(base).size();
    const std::size_t first =
        (baseCount == 0 || EndsWithSeparator(base)) ? baseCount : baseCount - 1;
    const std::string joined = std::string(base) + std::string(relative);
    const auto components = SplitComponents(joined);
    for (std::size_t i = first; i < components.size(); ++i) {
        if (IsParentReference(components[i])) {
            Refuse(relative, "parent directory");
        }
    }
}

} // namespace qvs
