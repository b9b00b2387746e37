// The explanations on the troubleshooting window's tabs, one entry a memo
// line. Both front ends show them as they stand.
#pragma once

#include <string>
#include <vector>

namespace qvs {

std::vector<std::string> TroubleshootingIntroLines();      // Memo1
std::vector<std::string> TroubleshootingClientCodeLines(); // Memo2
std::vector<std::string> TroubleshootingDataFilesLines();  // Memo4
std::vector<std::string> TroubleshootingPatchLines();      // Memo5
std::vector<std::string> TroubleshootingNetworkLines();    // Memo6
std::vector<std::string> TroubleshootingBugReportLines();  // Memo7

} // namespace qvs
