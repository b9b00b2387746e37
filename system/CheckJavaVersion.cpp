#include "system/CheckJavaVersion.h"

#include <charconv>
#include <exception>
#include <vector>

#include "system/ExecuteCommandLine.h"

namespace qvs {

namespace {
// Reads the unsigned decimal number at the start of text and drops it from
// text.
std::optional<int> TakeNumber(std::string_view& text) {
    if (text.empty() || text.front() < '0' || text.front() > '9') {
        return std::nullopt;
    }
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc()) {
        return std::nullopt;
    }
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    return value;
}

// The judgement of a text in one of the two version schemes: "9", "11.0.2"
// or "21-ea" name their release first (2 and up, all accepted); "1.x..."
// names release x. Nothing for a text in neither scheme.
std::optional<bool> ParsedJudgement(std::string_view version) {
    const std::optional<int> major = TakeNumber(version);
    if (!major || *major < 1) {
        return std::nullopt;
    }
    if (*major >= 2) {
        return true;
    }
    if (!version.starts_with('.')) {
        return std::nullopt;
    }
    version.remove_prefix(1);
    const std::optional<int> minor = TakeNumber(version);
    if (!minor) {
        return std::nullopt;
    }
    return *minor >= 4;
}

// The judgement runtimes have always had: refused only when one of the
// releases before 1.4 appears anywhere in the text.
bool PassesSubstringTest(std::string_view version) {
    for (std::string_view old : {"1.0", "1.1", "1.2", "1.3"}) {
        if (version.find(old) != std::string_view::npos) {
            return false;
        }
    }
    return true;
}

bool IsSupportedVersion(std::string_view version) {
    return ParsedJudgement(version).value_or(PassesSubstringTest(version));
}
} // namespace

std::optional<std::string_view> QuotedVersionText(std::string_view output) {
    const std::size_t open = output.find('"');
    if (open == std::string_view::npos) {
        return std::nullopt;
    }
    const std::size_t close = output.find('"', open + 1);
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    return output.substr(open + 1, close - open - 1);
}

bool IsJavaVersionAccepted(std::string_view output) {
    const std::optional<std::string_view> version = QuotedVersionText(output);
    return version && IsSupportedVersion(*version);
}

bool CheckJavaVersion(IConfigWriter& config, IPrompts& prompts, const std::string& commandLine) {
    std::vector<std::string> lines;
    ExecuteCommandLine(commandLine, lines, prompts); // a failure has been shown; lines are empty
    try {
        // The lines hold no line breaks, so this is the text with every CR LF
        // replaced by " <BR> ".
        std::string oneLine;
        for (const std::string& line : lines) {
            oneLine += line;
            oneLine += " <BR> ";
        }
        config.WriteValue("JAVA_VERSION", "VERSION", oneLine);
        return IsJavaVersionAccepted(oneLine);
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace qvs
