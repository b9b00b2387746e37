#include "PatchArguments.h"

#include "platform/Process.h"

#include <algorithm>
#include <charconv>
#include <climits>

namespace qvs {

namespace {

constexpr std::size_t kMaxShortNameLength = 32;

std::optional<std::uint32_t> ParseProcessId(const std::string& text) {
    std::uint32_t id = 0;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data(), last, id);
    if (text.empty() || text[0] == '+' || error != std::errc() || end != last || id == 0 ||
        id > static_cast<std::uint32_t>(INT_MAX)) {
        return std::nullopt;
    }
    return id;
}

bool IsPlainStem(const std::string& name) {
    return !name.empty() && name.size() <= kMaxShortNameLength &&
           std::all_of(name.begin(), name.end(), [](unsigned char c) {
               return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                      c == '_' || c == '-';
           });
}

} // namespace

std::optional<PatchArguments> ParsePatchArguments(const std::vector<std::string>& args) {
    std::string joined;
    for (const std::string& arg : args) {
        joined += " " + arg;
    }
    const std::vector<std::string> words = platform::SplitCommandLine(joined);
    if (words.size() != 2 || !IsPlainStem(words[1])) {
        return std::nullopt;
    }
    const std::optional<std::uint32_t> id = ParseProcessId(words[0]);
    if (!id) {
        return std::nullopt;
    }
    return PatchArguments{*id, words[1]};
}

} // namespace qvs
