#include "platform/Process.h"

namespace qvs::platform {

namespace {
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Handles a run of backslashes starting at position; returns the position
// after what it consumed.
std::size_t TakeBackslashes(std::string_view text, std::size_t position, std::string& argument,
                            bool& quoted) {
    std::size_t count = 0;
    while (position + count < text.size() && text[position + count] == '\\') {
        ++count;
    }
    const std::size_t after = position + count;
    if (after >= text.size() || text[after] != '"') {
        argument.append(count, '\\');
        return after;
    }
    argument.append(count / 2, '\\');
    if (count % 2 == 1) {
        argument += '"';
    } else {
        quoted = !quoted;
    }
    return after + 1;
}
} // namespace

std::vector<std::string> SplitCommandLine(std::string_view commandLine) {
    std::vector<std::string> arguments;
    std::string argument;
    bool inArgument = false;
    bool quoted = false;
    std::size_t position = 0;
    while (position < commandLine.size()) {
        const char c = commandLine[position];
        if (IsBlank(c) && !quoted) {
            if (inArgument) {
                arguments.push_back(std::move(argument));
                argument.clear();
                inArgument = false;
            }
            ++position;
            continue;
        }
        inArgument = true;
        if (c == '\\' || c == '"') {
            position = TakeBackslashes(commandLine, position, argument, quoted);
        } else {
            argument += c;
            ++position;
        }
    }
    if (inArgument) {
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

} // namespace qvs::platform
