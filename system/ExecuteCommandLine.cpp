#include "system/ExecuteCommandLine.h"

#include <exception>

namespace qvs {

bool ExecuteCommandLine(const std::string& commandLine, std::vector<std::string>& lines,
                        IPrompts& prompts, std::chrono::milliseconds timeLimit) {
    lines.clear();
    try {
        const platform::CapturedOutput captured =
            platform::RunCapturingOutput(commandLine, timeLimit);
        lines = SplitIntoLines(captured.output + captured.errors);
        return true;
    } catch (const std::exception& error) {
        prompts.ShowMessage(error.what());
        return false;
    }
}

} // namespace qvs
