#include "launcher/CConfig.h"

#include "launcher/CIniText.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <stdexcept>

namespace qvs {

namespace {

bool IsSpaceOrControl(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

std::string TrimSpacesAndControls(std::string_view text) {
    while (!text.empty() && IsSpaceOrControl(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsSpaceOrControl(text.back())) {
        text.remove_suffix(1);
    }
    return std::string(text);
}

bool IsJavaVersionHeader(const std::string& line) {
    constexpr std::string_view header = "[JAVA_VERSION]";
    return std::ranges::equal(line, header, [](char a, char b) {
        return std::toupper(static_cast<unsigned char>(a)) == static_cast<unsigned char>(b);
    });
}

bool IsSectionHeader(const std::string& line) {
    return !line.empty() && line.front() == '[' && line.back() == ']';
}

// Removes every line of the "[JAVA_VERSION]" section after its first one,
// blank lines included; false when the file has no such section.
bool RemoveLaterJavaVersionLines(std::vector<std::string>& lines) {
    auto header = std::ranges::find_if(lines, IsJavaVersionHeader);
    if (header == lines.end()) {
        return false;
    }
    // One erase for the whole run of lines: the section may hold many
    // thousands of them, and start-up waits for this.
    const auto first = lines.end() - header > 2 ? header + 2 : lines.end();
    auto next = first;
    while (next != lines.end()) {
        std::string trimmed = TrimSpacesAndControls(*next);
        if (IsSectionHeader(trimmed)) {
            *next = std::move(trimmed);
            break;
        }
        ++next;
    }
    lines.erase(first, next);
    return true;
}

} // namespace

std::string CConfig::PathIn(std::string_view installDir) {
    return std::string(installDir) + "qvs.cfg";
}

void CConfig::RequireOpen() const {
    if (!open_) {
        throw std::logic_error("configuration file " + path_ + " used while closed");
    }
}

std::string CConfig::ReadValue(std::string_view section, std::string_view key,
                               std::string_view defaultValue) const {
    RequireOpen();
    std::optional<std::string> text = platform::ReadWholeFile(path_);
    return CIniText(text.value_or("")).Read(section, key, defaultValue);
}

void CConfig::WriteValue(const std::string& section, const std::string& key,
                         const std::string& value) {
    RequireOpen();
    CIniText ini = LoadForWrite();
    if (ini.Write(section, key, value)) {
        platform::WriteFileAtomically(path_, ini.Text());
    }
}

// A file that exists but cannot be read is never replaced by one holding
// only the new key.
CIniText CConfig::LoadForWrite() const {
    std::optional<std::string> text = platform::ReadWholeFile(path_);
    if (!text && platform::FileExists(path_)) {
        throw platform::FileCreateError(path_);
    }
    return CIniText(text.value_or(""));
}

std::vector<std::string> CConfig::ReadLines() const {
    std::optional<std::string> text = platform::ReadWholeFile(path_);
    return CIniText::SplitLines(text.value_or(""));
}

void CConfig::RemoveDuplicateJavaVersions() {
    Close();
    try {
        CleanUpJavaVersionSection();
    } catch (const std::exception&) {
        // Optional work: without the done flag it runs again at the next start.
    }
    if (!IsOpen()) {
        Open();
    }
}

void CConfig::CleanUpJavaVersionSection() {
    std::optional<std::string> text = platform::ReadWholeFile(path_);
    if (!text) {
        return;
    }
    std::vector<std::string> lines = CIniText::SplitLines(*text);
    if (!RemoveLaterJavaVersionLines(lines)) {
        return;
    }
    platform::WriteFileAtomically(path_, CIniText::JoinLines(lines));
    Open();
    WriteValue("START_UP", "DELETED_DUPLICATE_JAVA_VERSIONS", "TRUE");
}

} // namespace qvs
