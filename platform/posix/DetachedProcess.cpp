#include "platform/DetachedProcess.h"

#include "platform/FileSystem.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace qvs::platform {

namespace {

constexpr std::chrono::milliseconds kPollInterval{50};

void WriteInt(int fd, std::int32_t value) {
    // Nothing can be done about a failed write in a child about to end.
    [[maybe_unused]] ssize_t written = ::write(fd, &value, sizeof value);
}

// Runs in the grandchild, after fork: only async-signal-safe calls.
[[noreturn]] void ExecDetached(int reportFd, const char* directory, char* const* argv) {
    int nullInput = ::open("/dev/null", O_RDONLY);
    if (nullInput >= 0) {
        ::dup2(nullInput, STDIN_FILENO);
        ::close(nullInput);
    }
    if (directory[0] != '\0' && ::chdir(directory) != 0) {
        WriteInt(reportFd, errno);
        ::_exit(127);
    }
    ::execv(argv[0], argv);
    WriteInt(reportFd, errno);
    ::_exit(127);
}

// Runs in the intermediate child: a new session, then the program in a
// grandchild whose id goes to the starter; ending at once hands the
// grandchild to init, so nobody has to wait for it.
[[noreturn]] void ForkDetached(int reportFd, const char* directory, char* const* argv) {
    ::setsid();
    pid_t grandchild = ::fork();
    if (grandchild < 0) {
        ::_exit(1);
    }
    if (grandchild == 0) {
        ExecDetached(reportFd, directory, argv);
    }
    WriteInt(reportFd, static_cast<std::int32_t>(grandchild));
    ::_exit(0);
}

// Everything written to fd until every writer has closed it.
std::string ReadUntilClosed(int fd) {
    std::string bytes;
    char buffer[64];
    for (;;) {
        ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count > 0) {
            bytes.append(buffer, static_cast<std::size_t>(count));
        } else if (count == 0 || errno != EINTR) {
            return bytes;
        }
    }
}

// A zombie has ended; only its parent has not collected it yet.
bool IsZombie(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    std::size_t close = text.rfind(')');
    return close != std::string::npos && close + 2 < text.size() &&
           (text[close + 2] == 'Z' || text[close + 2] == 'X');
}

bool HasEnded(pid_t pid) {
    if (::kill(pid, 0) != 0) {
        return errno == ESRCH;
    }
    return IsZombie(pid);
}

} // namespace

std::optional<std::uint32_t> StartDetached(const std::string& program,
                                           const std::vector<std::string>& arguments,
                                           const std::string& workingDirectory) {
    std::vector<std::string> words = {NativePath(program)};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    const std::string directory = workingDirectory.empty() ? "" : NativePath(workingDirectory);

    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) {
        return std::nullopt;
    }
    pid_t child = ::fork();
    if (child == 0) {
        ::close(report[0]);
        ForkDetached(report[1], directory.c_str(), argv.data());
    }
    ::close(report[1]);
    if (child > 0) {
        int status = 0;
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
    }
    // The grandchild's id alone means it runs; an error number after it (or
    // nothing at all) means the start failed.
    const std::string bytes = child > 0 ? ReadUntilClosed(report[0]) : std::string();
    ::close(report[0]);
    std::int32_t id = 0;
    if (bytes.size() != sizeof id) {
        return std::nullopt;
    }
    std::memcpy(&id, bytes.data(), sizeof id);
    return static_cast<std::uint32_t>(id);
}

bool WaitForProcessEnd(std::uint32_t processId, std::chrono::milliseconds timeLimit) {
    // 0 and negative ids would name process groups for kill().
    if (processId == 0 || processId > static_cast<std::uint32_t>(INT_MAX)) {
        return true;
    }
    const pid_t pid = static_cast<pid_t>(processId);
    const auto deadline = std::chrono::steady_clock::now() + timeLimit;
    while (!HasEnded(pid)) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(kPollInterval);
    }
    return true;
}

} // namespace qvs::platform
