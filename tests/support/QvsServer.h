// The real qvs-server started for a test on free loopback ports, serving a
// folder of its own that the test fills (its log, server.log, lies there
// too), with further options and, when fileLimit is given, that many
// descriptors at most. The program is QVS_SERVER_PATH of the test target.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/ExternalProcess.h"
#include "support/RawFile.h"
#include "support/TempDir.h"

namespace qvs::test {

class QvsServer {
public:
    explicit QvsServer(std::vector<std::string> options = {}, int fileLimit = 0)
        : options_(std::move(options)), fileLimit_(fileLimit) {
        Clear();
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
    const std::filesystem::path& Root() const { return root_.Path(); }
    std::string LogFile() const { return root_.File("server.log"); }

    // A file below the served folder, with the folders it lies in.
    void Write(const std::filesystem::path& path, std::string_view bytes) const {
        std::filesystem::create_directories((Root() / path).parent_path());
        WriteRawFile(Root() / path, bytes);
    }
    // A file of updates/, where both the update port and the web host look.
    void Serve(const std::string& name, std::string_view bytes) const {
        Write("updates/" + name, bytes);
    }
    // Empty updates/ and status/ folders, as the next test wants them.
    void Clear() const {
        for (const char* folder : {"updates", "status"}) {
            std::filesystem::remove_all(Root() / folder);
            std::filesystem::create_directories(Root() / folder);
        }
    }

    std::uint16_t updatePort = 0;
    std::uint16_t gamePort = 0;
    std::uint16_t httpPort = 0;

private:
    void Launch() {
        updatePort = ExternalProcess::FreePort();
        gamePort = ExternalProcess::FreePort();
        httpPort = ExternalProcess::FreePort();
        std::vector<std::string> words = {
            "--root",        root_.Path().string(),      "--bind",      "127.0.0.1",
            "--update-port", std::to_string(updatePort), "--game-port", std::to_string(gamePort),
            "--http-port",   std::to_string(httpPort)};
        words.insert(words.end(), options_.begin(), options_.end());
        process_.reset(); // the one that could not bind, gone first
        process_ = std::make_unique<ExternalProcess>(QVS_SERVER_PATH, words, LogFile(), fileLimit_);
    }

    TempDir root_;
    std::vector<std::string> options_;
    int fileLimit_;
    std::unique_ptr<ExternalProcess> process_;
};

} // namespace qvs::test
