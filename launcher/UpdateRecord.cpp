#include "launcher/UpdateRecord.h"

#include "launcher/CConfig.h"
#include "platform/AsciiCase.h"

#include <charconv>
#include <limits>

namespace qvs {

namespace {

constexpr std::string_view Section = "AUI";

} // namespace

void UpdateRecord::CountUp(const std::string& counterKey) {
    const std::int32_t count =
        ParseDecimal(config_.ReadValue(Section, counterKey, "0")).value_or(0);
    // A counter at its limit stays there instead of wrapping to a negative.
    const std::int32_t next = count == std::numeric_limits<std::int32_t>::max() ? count : count + 1;
    config_.WriteValue(std::string(Section), counterKey, std::to_string(next));
}

void UpdateRecord::Succeeded(const std::string& flagKey, const std::string& counterKey) {
    config_.WriteValue(std::string(Section), flagKey, "TRUE");
    config_.WriteValue(std::string(Section), counterKey, "0");
}

void UpdateRecord::SetLastDownload(const std::string& value) {
    config_.WriteValue(std::string(Section), "LAST_DOWNLOAD", value);
}

std::int32_t UpdateRecord::FailureCount(std::string_view counterKey) const {
    return ParseDecimal(config_.ReadValue(Section, counterKey, "0")).value_or(1);
}

bool UpdateRecord::IsFlagSet(std::string_view flagKey) const {
    return platform::EqualIgnoringCase(config_.ReadValue(Section, flagKey, "FALSE"), "TRUE");
}

std::optional<std::int32_t> UpdateRecord::ParseDecimal(std::string_view text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') {
            return std::nullopt;
        }
    }
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

} // namespace qvs
