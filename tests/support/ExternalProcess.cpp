#include "support/ExternalProcess.h"

#include <chrono>
#include <cstdlib>
#include <sstream>
#include <thread>

#include "platform/SocketError.h"
#include "platform/TcpListener.h"
#include "platform/TcpSocket.h"

#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;
#endif

namespace qvs::test {

using Clock = std::chrono::steady_clock;

#ifndef _WIN32
ExternalProcess::ExternalProcess(const std::string& program,
                                 const std::vector<std::string>& arguments,
                                 const std::string& outputFile, int fileLimit) {
    const std::string path = Find(program);
    if (path.empty()) {
        return;
    }
    std::vector<std::string> words{path};
    if (fileLimit > 0) { // the shell sets the limit, then becomes the program
        words = {"/bin/sh", "-c", "ulimit -n " + std::to_string(fileLimit) + " && exec \"$@\"",
                 "sh", path};
    }
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const std::string sink = outputFile.empty() ? "/dev/null" : outputFile;
    posix_spawn_file_actions_addopen(&actions, 1, sink.c_str(), O_WRONLY | O_CREAT | O_APPEND,
                                     0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        pid_ = pid;
    }
    posix_spawn_file_actions_destroy(&actions);
}

ExternalProcess::~ExternalProcess() {
    if (pid_ > 0 && !Stop(SIGTERM, 5000)) {
        ::kill(static_cast<pid_t>(pid_), SIGKILL);
        ::waitpid(static_cast<pid_t>(pid_), nullptr, 0);
    }
}

bool ExternalProcess::Ended() const {
    int status = 0;
    if (!status_ && ::waitpid(static_cast<pid_t>(pid_), &status, WNOHANG) == pid_) {
        status_ = status;
    }
    return status_.has_value();
}

std::optional<int> ExternalProcess::Stop(int signal, int waitMs) {
    if (pid_ <= 0) {
        return std::nullopt;
    }
    if (!Ended()) {
        ::kill(static_cast<pid_t>(pid_), signal);
    }
    const auto deadline = Clock::now() + std::chrono::milliseconds(waitMs);
    while (!Ended() && Clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return status_;
}
#else
ExternalProcess::ExternalProcess(const std::string&, const std::vector<std::string>&,
                                 const std::string&, int) {}
ExternalProcess::~ExternalProcess() = default;
bool ExternalProcess::Ended() const {
    return true;
}
std::optional<int> ExternalProcess::Stop(int, int) {
    return std::nullopt;
}
#endif

bool ExternalProcess::Running() const {
    return pid_ > 0 && !Ended();
}

std::string ExternalProcess::Find(const std::string& program) {
#ifndef _WIN32
    if (program.find('/') != std::string::npos) {
        return ::access(program.c_str(), X_OK) == 0 ? program : std::string();
    }
    const char* path = std::getenv("PATH");
    // Daemons such as nginx live in the sbin folders.
    std::istringstream directories(std::string(path ? path : "") + ":/usr/sbin:/sbin");
    for (std::string directory; std::getline(directories, directory, ':');) {
        const std::string candidate = directory + "/" + program;
        if (!directory.empty() && ::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
#endif
    (void)program;
    return {};
}

bool ExternalProcess::WaitForPort(std::uint16_t port, int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (Clock::now() < deadline) {
        try {
            platform::TcpSocket socket;
            socket.Connect("127.0.0.1", port, 1000);
            return true;
        } catch (const platform::SocketError&) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    return false;
}

std::uint16_t ExternalProcess::FreePort() {
    platform::TcpListener probe("127.0.0.1", 0);
    return probe.LocalPort();
}

} // namespace qvs::test
