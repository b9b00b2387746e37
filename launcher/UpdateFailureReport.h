// After a failed update pass: records which step failed as
// "ERROR"/"LAST_ERROR_STATUS", explains it from the updater's counters and
// flags, and lets the player fetch the manual patch or play anyway.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qvs {

class IShell;
class IUpdaterErrorView;
class UpdateRecord;
struct ProcessValues;

class UpdateFailureReport {
public:
    UpdateFailureReport(ProcessValues& values, IUpdaterErrorView& view, IShell& shell);

    // ReportUpdateFailure: OK opens the manual patch and closes the
    // launcher; anything else launches the game.
    void Report();

    // "LAST_ERROR_STATUS" for an update error status; empty for others.
    static std::string ErrorStatusText(std::uint8_t status);
    // The explanation for a status, from the record's counters and flags.
    static std::vector<std::string> Explanation(std::uint8_t status, const UpdateRecord& record);

private:
    ProcessValues& values_;
    IUpdaterErrorView& view_;
    IShell& shell_;
};

} // namespace qvs
