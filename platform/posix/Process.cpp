#include "platform/Process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <thread>

namespace qvs::platform {

namespace {
using Clock = std::chrono::steady_clock;

class FileDescriptor {
public:
    FileDescriptor() = default;
    ~FileDescriptor() { Close(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int Get() const { return fd_; }
    void Reset(int fd) {
        Close();
        fd_ = fd;
    }
    void Close() {
        if (fd_ >= 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }

private:
    int fd_ = -1;
};

struct Pipe {
    FileDescriptor read;
    FileDescriptor write;
};

// Moves fd above the standard descriptors, so that putting the pipes in
// place as 1 and 2 in the child cannot overwrite one of them.
int AboveStandard(int fd) {
    if (fd > STDERR_FILENO) {
        return fd;
    }
    const int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
    ::close(fd);
    return moved;
}

// Both ends close on exec: the child gets only the copies put in place as
// its standard output and error.
bool MakePipe(Pipe& pipe) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        return false;
    }
    pipe.read.Reset(AboveStandard(fds[0]));
    pipe.write.Reset(AboveStandard(fds[1]));
    return pipe.read.Get() >= 0 && pipe.write.Get() >= 0;
}

bool IsExecutableFile(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

// The child's environment is empty, so the program is looked up here along
// the launcher's own PATH, as a shell would.
std::string FindProgram(const std::string& program) {
    if (program.empty() || program.find('/') != std::string::npos) {
        return IsExecutableFile(program) ? program : std::string();
    }
    const char* variable = std::getenv("PATH");
    const std::string path = variable != nullptr ? variable : "/bin:/usr/bin";
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = std::min(path.find(':', start), path.size());
        const std::string directory = end > start ? path.substr(start, end - start) : ".";
        const std::string candidate = directory + "/" + program;
        if (IsExecutableFile(candidate)) {
            return candidate;
        }
        if (end == path.size()) {
            return {};
        }
        start = end + 1;
    }
}

class SpawnSetup {
public:
    SpawnSetup(int outputFd, int errorsFd) {
        ::posix_spawn_file_actions_init(&actions_);
        ::posix_spawn_file_actions_adddup2(&actions_, outputFd, STDOUT_FILENO);
        ::posix_spawn_file_actions_adddup2(&actions_, errorsFd, STDERR_FILENO);
        ::posix_spawn_file_actions_addopen(&actions_, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
#if defined(__GLIBC__) && (__GLIBC__ > 2 || __GLIBC_MINOR__ >= 34)
        // Sockets and files the launcher opened without close-on-exec stay here.
        ::posix_spawn_file_actions_addclosefrom_np(&actions_, STDERR_FILENO + 1);
#endif
        ::posix_spawnattr_init(&attributes_);
        // A group of its own, so a time-out kills whatever the child started.
        ::posix_spawnattr_setpgroup(&attributes_, 0);
        sigset_t none;
        sigemptyset(&none);
        ::posix_spawnattr_setsigmask(&attributes_, &none);
        // An ignored SIGPIPE (usual in programs with sockets) would be inherited.
        sigset_t defaults;
        sigemptyset(&defaults);
        sigaddset(&defaults, SIGPIPE);
        ::posix_spawnattr_setsigdefault(&attributes_, &defaults);
        ::posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK |
                                                     POSIX_SPAWN_SETSIGDEF);
    }
    ~SpawnSetup() {
        ::posix_spawnattr_destroy(&attributes_);
        ::posix_spawn_file_actions_destroy(&actions_);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    const posix_spawn_file_actions_t* Actions() const {
        return &actions_;
    }
    const posix_spawnattr_t* Attributes() const {
        return &attributes_;
    }

private:
    posix_spawn_file_actions_t actions_;
    posix_spawnattr_t attributes_;
};

pid_t Spawn(const std::vector<std::string>& arguments, int outputFd, int errorsFd) {
    const std::string program = FindProgram(arguments.empty() ? std::string() : arguments[0]);
    if (program.empty()) {
        throw ProcessError(ProcessError::Kind::Start);
    }
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    char* emptyEnvironment[] = {nullptr};
    const SpawnSetup setup(outputFd, errorsFd);
    pid_t pid = -1;
    if (::posix_spawn(&pid, program.c_str(), setup.Actions(), setup.Attributes(), argv.data(),
                      emptyEnvironment) != 0) {
        throw ProcessError(ProcessError::Kind::Start);
    }
    return pid;
}

int ExitCodeOf(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Owns the started child: on every path out it is ended and reaped, so no
// zombie or stray process is left behind.
class Child {
public:
    explicit Child(pid_t pid) : pid_(pid) {}
    ~Child() {
        if (!reaped_) {
            Kill();
        }
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    // True when the child ended before the deadline; exitCode is then set.
    bool WaitUntil(Clock::time_point deadline, int& exitCode) {
        auto pause = std::chrono::milliseconds(1);
        for (;;) {
            int status = 0;
            const pid_t done = ::waitpid(pid_, &status, WNOHANG);
            if (done == pid_ || (done < 0 && errno != EINTR)) {
                reaped_ = true;
                exitCode = done == pid_ ? ExitCodeOf(status) : -1;
                return true;
            }
            const auto now = Clock::now();
            if (now >= deadline) {
                return false;
            }
            std::this_thread::sleep_for(std::min<Clock::duration>(pause, deadline - now));
            pause = std::min(pause * 2, std::chrono::milliseconds(50));
        }
    }

    void Kill() {
        ::kill(-pid_, SIGKILL);
        ::kill(pid_, SIGKILL);
        int status = 0;
        while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
        reaped_ = true;
    }

private:
    pid_t pid_;
    bool reaped_ = false;
};

int MillisecondsLeft(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::clamp<long long>(left, 0, 60 * 60 * 1000));
}

// Reads whatever one ready pipe holds; false at its end.
bool ReadSome(int fd, std::string& sink) {
    char buffer[4096];
    const ssize_t count = ::read(fd, buffer, sizeof buffer);
    if (count > 0) {
        sink.append(buffer, static_cast<std::size_t>(count));
        return true;
    }
    return count < 0 && (errno == EINTR || errno == EAGAIN);
}

// Reads both pipes as data arrives until both have ended; false when the
// deadline came first.
bool DrainBoth(int outputFd, int errorsFd, CapturedOutput& result, Clock::time_point deadline) {
    pollfd entries[2] = {{outputFd, POLLIN, 0}, {errorsFd, POLLIN, 0}};
    std::string* sinks[2] = {&result.output, &result.errors};
    while (entries[0].fd >= 0 || entries[1].fd >= 0) {
        const int ready = ::poll(entries, 2, MillisecondsLeft(deadline));
        if (ready == 0 && Clock::now() >= deadline) {
            return false;
        }
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            return true;
        }
        for (int i = 0; i < 2; ++i) {
            // A negative descriptor is skipped by poll: that pipe has ended.
            if (entries[i].fd >= 0 && entries[i].revents != 0 &&
                !ReadSome(entries[i].fd, *sinks[i])) {
                entries[i].fd = -1;
            }
        }
    }
    return true;
}
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
    Child child(Spawn(SplitCommandLine(commandLine), output.write.Get(), errors.write.Get()));
    // Only the child holds the write ends now, so its exit ends the reads.
    output.write.Close();
    errors.write.Close();
    CapturedOutput result;
    if (!DrainBoth(output.read.Get(), errors.read.Get(), result, deadline) ||
        !child.WaitUntil(deadline, result.exitCode)) {
        child.Kill();
        throw ProcessError(ProcessError::Kind::TimedOut);
    }
    return result;
}

std::uint32_t CurrentProcessId() {
    return static_cast<std::uint32_t>(::getpid());
}

} // namespace qvs::platform
