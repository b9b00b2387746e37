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

std::vector<std::string> SplitIntoLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') {
            ++start;
        }
    }
    return lines;
}

} // namespace qvs
