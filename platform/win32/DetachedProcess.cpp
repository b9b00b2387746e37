#include "platform/DetachedProcess.h"

#include "platform/FileSystem.h"
#include "platform/win32/Utf16.h"

#include <algorithm>

#include <windows.h>

namespace qvs::platform {

namespace {

// One argument as the Windows command line rules read it back: quoted when
// it holds blanks or quotes, backslashes before a quote doubled.
std::string QuoteArgument(const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos) {
        return argument;
    }
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
        } else if (c == '"') {
            quoted.append(backslashes * 2 + 1, '\\');
            backslashes = 0;
        } else {
            quoted.append(backslashes, '\\');
            backslashes = 0;
        }
        if (c != '\\') {
            quoted += c;
        }
    }
    quoted.append(backslashes * 2, '\\');
    return quoted + "\"";
}

} // namespace

std::optional<std::uint32_t> StartDetached(const std::string& program,
                                           const std::vector<std::string>& arguments,
                                           const std::string& workingDirectory) {
    const std::string application = NativePath(program);
    std::string commandLine = QuoteArgument(application);
    for (const std::string& argument : arguments) {
        commandLine += " " + QuoteArgument(argument);
    }
    // A name or argument that is not valid UTF-8 starts nothing.
    const std::optional<std::wstring> wideApplication = win32::TryWidePath(application);
    std::optional<std::wstring> wideLine = win32::TryWiden(commandLine);
    const std::optional<std::wstring> directory =
        win32::TryWidePath(workingDirectory.empty() ? "" : NativePath(workingDirectory));
    if (!wideApplication || !wideLine || !directory) {
        return std::nullopt;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(wideApplication->c_str(), wideLine->data(), nullptr, nullptr, FALSE,
                          DETACHED_PROCESS | CREATE_NEW_PROCESS_GROUP | CREATE_UNICODE_ENVIRONMENT,
                          nullptr, directory->empty() ? nullptr : directory->c_str(), &startup,
                          &process)) {
        return std::nullopt;
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return static_cast<std::uint32_t>(process.dwProcessId);
}

bool WaitForProcessEnd(std::uint32_t processId, std::chrono::milliseconds timeLimit) {
    HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, processId);
    if (process == nullptr) {
        // No process has that id (any more).
        return ::GetLastError() == ERROR_INVALID_PARAMETER;
    }
    const auto limit = std::clamp<long long>(timeLimit.count(), 0, INFINITE - 1);
    const DWORD result = ::WaitForSingleObject(process, static_cast<DWORD>(limit));
    ::CloseHandle(process);
    return result == WAIT_OBJECT_0;
}

} // namespace qvs::platform
