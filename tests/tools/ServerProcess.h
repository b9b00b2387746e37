// The real qvs-server started for a test on free loopback ports, its log
// appended to logFile, with further options and, when fileLimit is given,
// that many descriptors at most.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/ExternalProcess.h"

namespace qvs::test {

class ServerProcess {
public:
    ServerProcess(std::string root, std::string logFile, std::vector<std::string> options = {},
                  int fileLimit = 0)
        : root_(std::move(root)), logFile_(std::move(logFile)), options_(std::move(options)),
          fileLimit_(fileLimit) {
        Launch();
    }

    // A free port found by the test may be taken by a parallel test before
    // the server binds it; a server that ended that way (or at once, on its
    // options) is started again on fresh ports, three times at most.
    bool Ready() {
        for (int launches = 1; launches <= 3; ++launches) {
            for (int wait = 0; wait < 200 && process_->Running(); ++wait) {
                if (ExternalProcess::WaitForPort(updatePort, 50) &&
                    ExternalProcess::WaitForPort(gamePort, 50) &&
                    ExternalProcess::WaitForPort(httpPort, 50)) {
                    return true;
                }
            }
            if (process_->Running()) {
                return false;
            }
            Launch();
        }
        return false;
    }

    // The server itself, to watch and stop.
    ExternalProcess& Process() { return *process_; }

    std::uint16_t updatePort = 0;
    std::uint16_t gamePort = 0;
    std::uint16_t httpPort = 0;

private:
    void Launch() {
        updatePort = ExternalProcess::FreePort();
        gamePort = ExternalProcess::FreePort();
        httpPort = ExternalProcess::FreePort();
        std::vector<std::string> words = {"--root",        root_,
                                          "--bind",        "127.0.0.1",
                                          "--update-port", std::to_string(updatePort),
                                          "--game-port",   std::to_string(gamePort),
                                          "--http-port",   std::to_string(httpPort)};
        words.insert(words.end(), options_.begin(), options_.end());
        process_.reset(); // the one that could not bind, gone first
        process_ = std::make_unique<ExternalProcess>(QVS_SERVER_PATH, words, logFile_, fileLimit_);
    }

    std::string root_;
    std::string logFile_;
    std::vector<std::string> options_;
    int fileLimit_;
    std::unique_ptr<ExternalProcess> process_;
};

} // namespace qvs::test
