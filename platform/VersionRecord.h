// The version record that stands in for a Windows version resource where
// executables have none: the tag, the four-number version text, a zero byte,
// zero padding to VersionRecordSize. GetFileInformation finds it by reading
// the file; platform/EmbeddedVersion.h puts one into a program.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qvs::platform {

inline constexpr std::string_view VersionRecordTag = "QvsFileVersionRecord:";
inline constexpr std::size_t VersionRecordSize = 96;
inline constexpr std::size_t MaxVersionTextLength = VersionRecordSize - VersionRecordTag.size() - 1;

using VersionRecord = std::array<char, VersionRecordSize>;

namespace detail {

constexpr std::size_t AppendDecimal(VersionRecord& record, std::size_t at, std::int32_t value) {
    if (value < 0) {
        record[at++] = '-';
    }
    char digits[10] = {};
    std::size_t count = 0;
    std::uint32_t rest =
        value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
    do {
        digits[count++] = static_cast<char>('0' + rest % 10);
        rest /= 10;
    } while (rest != 0);
    while (count > 0) {
        record[at++] = digits[--count];
    }
    return at;
}

} // namespace detail

constexpr VersionRecord MakeVersionRecord(std::int32_t major, std::int32_t minor,
                                          std::int32_t release, std::int32_t build) {
    VersionRecord record{};
    std::size_t at = 0;
    for (const char c : VersionRecordTag) {
        record[at++] = c;
    }
    const std::int32_t numbers[4] = {major, minor, release, build};
    for (std::size_t i = 0; i < 4; ++i) {
        if (i > 0) {
            record[at++] = '.';
        }
        at = detail::AppendDecimal(record, at, numbers[i]);
    }
    return record; // four 11-character numbers and three stops still fit
}

// The version text of the first well-formed record in bytes: the tag, 1 to
// MaxVersionTextLength printable characters, a zero byte. Damaged records
// (and the bare tag, as the searching code itself holds it) are skipped.
std::optional<std::string> FindVersionRecord(std::string_view bytes);

} // namespace qvs::platform
