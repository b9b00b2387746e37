#include "platform/Process.h"
#include "platform/win32/Utf16.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <future>
#include <optional>

namespace qvs::platform {

namespace {
using Clock = std::chrono::steady_clock;

class OwnedHandle {
public:
    OwnedHandle() = default;
    explicit OwnedHandle(HANDLE handle) : handle_(handle) {}
    ~OwnedHandle() { Close(); }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;

    HANDLE Get() const { return handle_; }
    void Reset(HANDLE handle) {
        Close();
        handle_ = handle;
    }
    void Close() {
        if (handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE) {
            ::CloseHandle(handle_);
        }
        handle_ = nullptr;
    }

private:
    HANDLE handle_ = nullptr;
};

struct Pipe {
    OwnedHandle read;
    OwnedHandle write;
};

// The write end is inheritable for the child; the read end stays ours alone.
bool MakePipe(Pipe& pipe) {
    SECURITY_ATTRIBUTES security{sizeof security, nullptr, TRUE};
    HANDLE read = nullptr;
    HANDLE write = nullptr;
    if (!::CreatePipe(&read, &write, &security, 0)) {
        return false;
    }
    pipe.read.Reset(read);
    pipe.write.Reset(write);
    return ::SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0) != 0;
}

// Reads until the last holder of the write end has closed it.
std::string ReadToEnd(HANDLE pipe) {
    std::string data;
    char buffer[4096];
    DWORD count = 0;
    while (::ReadFile(pipe, buffer, sizeof buffer, &count, nullptr)) {
        data.append(buffer, count);
    }
    return data;
}

// What the child wrote, as UTF-8: console programs such as "java.exe" write
// in the console's code page (the OEM one when there is no console); text
// that is not valid there is read in the ANSI code page instead.
std::string ConsoleText(const std::string& bytes) {
    UINT codePage = ::GetConsoleOutputCP();
    if (codePage == 0) {
        codePage = ::GetOEMCP();
    }
    const int size = static_cast<int>(std::min<std::size_t>(bytes.size(), INT_MAX));
    if (::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0) ==
        0) {
        codePage = ::GetACP();
    }
    return win32::FromCodePage(bytes, codePage);
}

PROCESS_INFORMATION StartSuspended(const std::string& commandLine, HANDLE output, HANDLE errors) {
    std::optional<std::wstring> line = win32::TryWiden(commandLine);
    if (!line) {
        throw ProcessError(ProcessError::Kind::Start);
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    startup.hStdInput = nullptr;
    startup.hStdOutput = output;
    startup.hStdError = errors;
    wchar_t emptyEnvironment[2] = {L'\0', L'\0'};
    PROCESS_INFORMATION info{};
    // CreateProcessW may write into the command line, which line owns.
    if (!::CreateProcessW(nullptr, line->data(), nullptr, nullptr, TRUE,
                          CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS | CREATE_SUSPENDED |
                              CREATE_UNICODE_ENVIRONMENT,
                          emptyEnvironment, nullptr, &startup, &info)) {
        throw ProcessError(ProcessError::Kind::Start);
    }
    return info;
}

// Owns the started child. It runs in a job so that a time-out also ends what
// it started; on every path out a child still running is killed and waited for.
class Child {
public:
    explicit Child(const PROCESS_INFORMATION& info)
        : process_(info.hProcess), thread_(info.hThread),
          job_(::CreateJobObjectW(nullptr, nullptr)) {
        if (job_.Get() != nullptr && !::AssignProcessToJobObject(job_.Get(), process_.Get())) {
            job_.Close();
        }
        ::ResumeThread(thread_.Get());
    }
    ~Child() {
        if (!ended_) {
            Kill();
        }
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    bool WaitUntil(Clock::time_point deadline) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        // INFINITE is the largest value; stay below it.
        const auto wait = static_cast<DWORD>(std::clamp<long long>(left.count(), 0, INFINITE - 1));
        ended_ = ::WaitForSingleObject(process_.Get(), wait) == WAIT_OBJECT_0;
        return ended_;
    }

    int ExitCode() const {
        DWORD code = 0;
        ::GetExitCodeProcess(process_.Get(), &code);
        return static_cast<int>(code);
    }

    void Kill() {
        if (job_.Get() != nullptr) {
            ::TerminateJobObject(job_.Get(), 1);
        }
        ::TerminateProcess(process_.Get(), 1);
        ::WaitForSingleObject(process_.Get(), INFINITE);
        ended_ = true;
    }

private:
    OwnedHandle process_;
    OwnedHandle thread_;
    OwnedHandle job_;
    bool ended_ = false;
};
} // namespace

CapturedOutput RunCapturingOutput(const std::string& commandLine,
                                  std::chrono::milliseconds timeLimit) {
    const auto deadline = Clock::now() + timeLimit;
    Pipe output;
    if (!MakePipe(output)) {
        throw ProcessError(ProcessError::Kind::OutputPipe);
    }
    Pipe errors;
    if (!MakePipe(errors)) {
        throw ProcessError(ProcessError::Kind::ErrorsPipe);
    }
    // Declared before the child: leaving early kills the child first, which
    // ends the reads these futures wait for when they are destroyed.
    std::future<std::string> outputText;
    std::future<std::string> errorsText;
    Child child(StartSuspended(commandLine, output.write.Get(), errors.write.Get()));
    // Only the child holds the write ends now, so its exit ends the reads.
    output.write.Close();
    errors.write.Close();
    outputText = std::async(std::launch::async, ReadToEnd, output.read.Get());
    errorsText = std::async(std::launch::async, ReadToEnd, errors.read.Get());
    if (!child.WaitUntil(deadline) ||
        outputText.wait_until(deadline) != std::future_status::ready ||
        errorsText.wait_until(deadline) != std::future_status::ready) {
        child.Kill();
        throw ProcessError(ProcessError::Kind::TimedOut);
    }
    CapturedOutput result;
    result.output = ConsoleText(outputText.get());
    result.errors = ConsoleText(errorsText.get());
    result.exitCode = child.ExitCode();
    return result;
}

std::uint32_t CurrentProcessId() {
    return static_cast<std::uint32_t>(::GetCurrentProcessId());
}

} // namespace qvs::platform
