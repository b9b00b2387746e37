// The updater's record in qvs.cfg, section "AUI": per step a success flag
// and a count of failures since the step last succeeded, plus
// "LAST_DOWNLOAD", the host the last download tried.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qvs {

class CConfig;

class UpdateRecord {
public:
    explicit UpdateRecord(CConfig& config) : config_(config) {}

    // Adds one failure; a stored text that is no number starts again at 0.
    void CountUp(const std::string& counterKey);
    // The step worked: its flag "TRUE", its counter "0".
    void Succeeded(const std::string& flagKey, const std::string& counterKey);
    void SetLastDownload(const std::string& value);

    // As the updater error window reads them: a counter that is no number
    // counts as 1; a flag is set when it reads "TRUE" in any letter case.
    std::int32_t FailureCount(std::string_view counterKey) const;
    bool IsFlagSet(std::string_view flagKey) const;

    // An optional sign and decimal digits that fit 32 bits, nothing else.
    static std::optional<std::int32_t> ParseDecimal(std::string_view text);

private:
    CConfig& config_;
};

} // namespace qvs
