#include "launcher/CIniText.h"

#include "system/TextLines.h"

#include <algorithm>

namespace qvs {

namespace {

// The blanks that the profile functions strip around names and values;
// Ctrl-Z is an old end-of-file mark that editors leave behind.
bool IsBlank(char c) {
    switch (c) {
    case ' ':
    case '\t':
    case '\n':
    case '\v':
    case '\f':
    case '\r':
    case '\x1a':
        return true;
    default:
        return false;
    }
}

std::string_view TrimStart(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    return text;
}

std::string_view Trim(std::string_view text) {
    text = TrimStart(text);
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

// A line break inside a name or value would start a new line, even a
// section header, in the file; it becomes a blank instead.
std::string WithoutLineBreaks(std::string_view text) {
    std::string result(text);
    std::ranges::replace(result, '\r', ' ');
    std::ranges::replace(result, '\n', ' ');
    return result;
}

std::string CleanName(std::string_view name) {
    return std::string(Trim(WithoutLineBreaks(name)));
}

std::string CleanValue(std::string_view value) {
    return std::string(TrimStart(WithoutLineBreaks(value)));
}

enum class LineKind { Blank, Section, Key };

struct ParsedLine {
    LineKind kind = LineKind::Blank;
    std::string_view name;
    std::optional<std::string_view> value; // missing on a key line without "="
};

ParsedLine ParseLine(std::string_view line) {
    std::string_view text = Trim(line);
    if (text.empty()) {
        return {};
    }
    std::size_t close = text.rfind(']');
    if (text.front() == '[' && close != std::string_view::npos) {
        return {LineKind::Section, Trim(text.substr(1, close - 1)), std::nullopt};
    }
    std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        return {LineKind::Key, text, std::nullopt};
    }
    return {LineKind::Key, Trim(text.substr(0, equals)), Trim(text.substr(equals + 1))};
}

std::string_view WithoutQuotes(std::string_view value) {
    bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                  value.back() == value.front();
    return quoted ? value.substr(1, value.size() - 2) : value;
}

std::string Limited(std::string_view text) {
    return std::string(text.substr(0, CIniText::MaxValueLength));
}

// Trailing spaces of a default are dropped, its first character is kept.
std::string DefaultText(std::string_view defaultValue) {
    while (defaultValue.size() > 1 && defaultValue.back() == ' ') {
        defaultValue.remove_suffix(1);
    }
    return Limited(defaultValue);
}

} // namespace

std::vector<std::string> CIniText::SplitLines(std::string_view text) {
    return SplitIntoLines(text);
}

std::string CIniText::JoinLines(const std::vector<std::string>& lines) {
    return JoinWithCrLf(lines);
}

std::string CIniText::Read(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const {
    std::optional<Range> range = FindSection(Trim(section));
    std::optional<std::size_t> at = range ? FindKey(*range, Trim(key)) : std::nullopt;
    std::optional<std::string_view> value = at ? ParseLine(lines_[*at]).value : std::nullopt;
    return value ? Limited(WithoutQuotes(*value)) : DefaultText(defaultValue);
}

bool CIniText::Write(std::string_view section, std::string_view key, std::string_view value) {
    std::string sectionName = CleanName(section);
    std::string keyName = CleanName(key);
    std::string text = CleanValue(value);
    std::optional<Range> range = FindSection(sectionName);
    if (!range) {
        lines_.push_back("[" + sectionName + "]");
        lines_.push_back(keyName + "=" + text);
        return true;
    }
    if (std::optional<std::size_t> at = FindKey(*range, keyName)) {
        return ReplaceValue(*at, text);
    }
    auto position = lines_.begin() + static_cast<std::ptrdiff_t>(EndOfContent(*range));
    lines_.insert(position, keyName + "=" + text);
    return true;
}

// The key keeps its spelling from the file; an unchanged value leaves the
// line, blanks and all, as it was.
bool CIniText::ReplaceValue(std::size_t at, const std::string& value) {
    ParsedLine old = ParseLine(lines_[at]);
    if (old.value && *old.value == value) {
        return false;
    }
    lines_[at] = std::string(old.name) + "=" + value;
    return true;
}

// The lines of the first section with that name; the empty name stands for
// the lines above the first section header.
std::optional<CIniText::Range> CIniText::FindSection(std::string_view section) const {
    std::optional<std::size_t> begin;
    if (section.empty()) {
        begin = 0;
    }
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        ParsedLine parsed = ParseLine(lines_[i]);
        if (parsed.kind != LineKind::Section) {
            continue;
        }
        if (begin) {
            return Range{*begin, i};
        }
        if (EqualsNoCase(parsed.name, section)) {
            begin = i + 1;
        }
    }
    return begin ? std::optional<Range>(Range{*begin, lines_.size()}) : std::nullopt;
}

std::optional<std::size_t> CIniText::FindKey(Range range, std::string_view key) const {
    for (std::size_t i = range.begin; i < range.end; ++i) {
        ParsedLine parsed = ParseLine(lines_[i]);
        if (parsed.kind == LineKind::Key && EqualsNoCase(parsed.name, key)) {
            return i;
        }
    }
    return std::nullopt;
}

// Where a new key of the section goes: after its last non-blank line, so
// blank lines that separate it from the next section stay below the key.
std::size_t CIniText::EndOfContent(Range range) const {
    for (std::size_t i = range.end; i > range.begin; --i) {
        if (ParseLine(lines_[i - 1]).kind != LineKind::Blank) {
            return i;
        }
    }
    return range.begin;
}

} // namespace qvs
