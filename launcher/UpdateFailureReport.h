// After a failed update pass: records which step failed as
// "ERROR"/"LAST_ERROR_STATUS", explains it from the updater's counters and
// flags, and lets the player fetch the manual patch or play anyway.
#pragma once

#include "launcher/ProcessValues.h"

#include <string>
#include <vector>

namespace qvs {

class CConfig;
class IShell;
class IUpdaterErrorView;
class UpdateRecord;

class UpdateFailureReport {
public:
    UpdateFailureReport(ProcessValues& values, IUpdaterErrorView& view, IShell& shell);

    // ReportUpdateFailure: OK opens the manual patch and closes the
    // launcher; anything else launches the game.
    void Report();

    // "LAST_ERROR_STATUS" for an update error status; empty for others.
    static std::string ErrorStatusText(UpdateError status);
    // The explanation for a status, from the record's counters and flags.
    static std::vector<std::string> Explanation(UpdateError status, const UpdateRecord& record);
    // The window's check box: "OPTIONS"/"DISABLE_ERROR_DISPLAY" is "TRUE"
    // while ticked, "FALSE" once unticked.
    static void DisableErrorDisplay(CConfig& config, bool disabled);

private:
    ProcessValues& values_;
    IUpdaterErrorView& view_;
    IShell& shell_;
};

} // namespace qvs
