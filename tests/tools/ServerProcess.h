// The real qvs-server started for a test on free loopback ports, with its
// log written to a file, further options and, when fileLimit is given, that
// many descriptors at most (hard limit included). Stopped with SIGTERM when
// the object goes away, or earlier by Terminate, which reports how the
// process ended.
#pragma once

#include <chrono>
#include <csignal>
#include <cstdint>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/ExternalProcess.h"

namespace qvs::test {

class ServerProcess {
public:
    ServerProcess(const std::string& root, const std::string& logFile,
                  std::vector<std::string> options = {}, rlim_t fileLimit = 0)
        : root_(root), logFile_(logFile), options_(std::move(options)), fileLimit_(fileLimit) {
        Launch();
    }

    ~ServerProcess() {
        if (pid_ > 0 && !Terminate(SIGTERM)) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }

    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    // A free port found by the test may be taken by a parallel test before
    // the server binds it; a server that ended that way is started again on
    // fresh ports.
    bool Ready() {
        for (int attempt = 0; attempt < 3; ++attempt) {
            if (pid_ > 0 && ExternalProcess::WaitForPort(updatePort, 10000) &&
                ExternalProcess::WaitForPort(gamePort, 10000) &&
                ExternalProcess::WaitForPort(httpPort, 10000)) {
                return true;
            }
            if (pid_ <= 0 || Running()) {
                return false;
            }
            ::waitpid(pid_, nullptr, 0);
            Launch();
        }
        return false;
    }

    pid_t Pid() const { return pid_; }
    bool Running() const { return pid_ > 0 && ::waitpid(pid_, nullptr, WNOHANG) == 0; }

    // Sends signal and waits up to 15 s; the wait status, or nothing when
    // the process did not end.
    std::optional<int> Terminate(int signal) {
        ::kill(pid_, signal);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
        int status = 0;
        while (std::chrono::steady_clock::now() < deadline) {
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return status;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return std::nullopt;
    }

    std::uint16_t updatePort = 0;
    std::uint16_t gamePort = 0;
    std::uint16_t httpPort = 0;

private:
    void Launch() {
        updatePort = ExternalProcess::FreePort();
        gamePort = ExternalProcess::FreePort();
        httpPort = ExternalProcess::FreePort();
        std::vector<std::string> words = {QVS_SERVER_PATH,
                                          "--root",
                                          root_,
                                          "--bind",
                                          "127.0.0.1",
                                          "--update-port",
                                          std::to_string(updatePort),
                                          "--game-port",
                                          std::to_string(gamePort),
                                          "--http-port",
                                          std::to_string(httpPort)};
        words.insert(words.end(), options_.begin(), options_.end());
        std::vector<char*> argv;
        for (std::string& word : words) {
            argv.push_back(word.data());
        }
        argv.push_back(nullptr);
        pid_ = ::fork();
        if (pid_ == 0) {
            const int log = ::open(logFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            ::dup2(log, 2);
            if (fileLimit_ > 0) {
                const rlimit limit{fileLimit_, fileLimit_};
                ::setrlimit(RLIMIT_NOFILE, &limit);
            }
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
    }

    std::string root_;
    std::string logFile_;
    std::vector<std::string> options_;
    rlim_t fileLimit_;
    pid_t pid_ = -1;
};

} // namespace qvs::test
