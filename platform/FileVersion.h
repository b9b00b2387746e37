// The four-number file version of an executable (major.minor.release.build).
#pragma once

#include <compare>
#include <cstdint>
#include <string>
#include <string_view>

namespace qvs::platform {

struct FileVersion {
    std::int32_t major = 0;
    std::int32_t minor = 0;
    std::int32_t release = 0;
    std::int32_t build = 0;

    // Compares major first, then minor, release and build.
    auto operator<=>(const FileVersion&) const = default;
};

// Splits a version text at full stops: "1.2.10.0" gives 1, 2, 10, 0. A piece
// is taken only when a full stop follows it, except the fourth, which is the
// rest of the text: "2.1" gives 2.0.0.0 and "7" gives 0.0.0.0. A piece that is
// not a decimal number (empty, "3 ", "x") gives 0 for that piece alone.
FileVersion ParseVersionText(std::string_view text);
// The four numbers joined by full stops: "1.2.10.0".
std::string FormatVersion(const FileVersion& version);

// The version of a file, 0.0.0.0 when it has none or cannot be read. On
// Windows the "\StringFileInfo\040904E4\FileVersion" value of its version
// resource; elsewhere the text of the version record the build embedded in it
// (platform/VersionRecord.h).
FileVersion GetFileInformation(std::string_view path);

} // namespace qvs::platform
