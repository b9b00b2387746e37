// Checks on the paths a package names. Packages arrive over the network, so a
// path is joined to its base only when the result stays below the base.
#pragma once

#include <string_view>

namespace qvs {

class PackagePath {
public:
    static bool IsSeparator(char c) { return c == '\\' || c == '/'; }
    static bool EndsWithSeparator(std::string_view path);
    // Throws PackageError when relative is absolute, names a drive or stream
    // (":"), or when base + relative (plain concatenation) climbs above base.
    static void CheckInside(std::string_view base, std::string_view relative);

private:
    static bool IsParentReference(std::string_view component);
};

} // namespace qvs
