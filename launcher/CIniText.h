// The text of an INI file as the Windows profile-string functions see it:
// sections "[NAME]", key lines "KEY=VALUE", names matched without regard to
// ASCII letter case. Editing keeps every untouched line as it was, so the
// file stays readable by the player and by those functions.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qvs {

class CIniText {
public:
    // A read returns at most this many characters of a value.
    static constexpr std::size_t MaxValueLength = 2047;

    CIniText() = default;
    explicit CIniText(std::string_view text) : lines_(SplitLines(text)) {}

    // Lines end at CR LF, at a lone LF or at a lone CR; a final line break
    // does not start another line.
    static std::vector<std::string> SplitLines(std::string_view text);
    // Every line followed by CR LF.
    static std::string JoinLines(const std::vector<std::string>& lines);

    // The stored value as a read returns it (surrounding quotes removed,
    // cut to MaxValueLength), or the default, trailing blanks removed, when
    // the section, the key or its "=" is missing.
    std::string Read(std::string_view section, std::string_view key,
                     std::string_view defaultValue) const;

    // Replaces the value of the first matching key in place, or adds the key
    // after the last non-blank line of the first matching section, or adds
    // the section at the end. Returns false when the stored value already
    // equals the new one and the text was left as it was.
    bool Write(std::string_view section, std::string_view key, std::string_view value);

    const std::vector<std::string>& Lines() const { return lines_; }
    std::string Text() const { return JoinLines(lines_); }

private:
    struct Range {
        std::size_t begin;
        std::size_t end;
    };

    std::optional<Range> FindSection(std::string_view section) const;
    std::optional<std::size_t> FindKey(Range range, std::string_view key) const;
    std::size_t EndOfContent(Range range) const;
    bool ReplaceValue(std::size_t at, const std::string& value);

    std::vector<std::string> lines_;
};

} // namespace qvs
