// A program started in the background for a test (qvs-server, or an
// independent peer such as nginx) and stopped when the object goes out of
// scope. POSIX only: on Windows nothing starts and Running() is false, so
// tests skip.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qvs::test {

class ExternalProcess {
public:
    // program is an absolute path or a name looked up along PATH. Output
    // goes to outputFile (appended), or is dropped when it is empty. A
    // fileLimit above 0 caps the descriptors it may hold (hard limit too).
    ExternalProcess(const std::string& program, const std::vector<std::string>& arguments,
                    const std::string& outputFile = {}, int fileLimit = 0);
    ~ExternalProcess(); // terminates, then kills if it does not end within 5 s
    ExternalProcess(const ExternalProcess&) = delete;
    ExternalProcess& operator=(const ExternalProcess&) = delete;

    bool Running() const;
    long Pid() const { return pid_; }
    // Sends signal and waits up to waitMs: the wait status, or nothing when
    // the process did not end (or never started).
    std::optional<int> Stop(int signal, int waitMs);

    // The full path of program when it can be run here, else empty.
    static std::string Find(const std::string& program);
    // Waits until something accepts connections on 127.0.0.1:port.
    static bool WaitForPort(std::uint16_t port, int timeoutMs);
    // A port that was free a moment ago.
    static std::uint16_t FreePort();

private:
    // Collects the process once it has ended; whether it has.
    bool Ended() const;

    long pid_ = -1;
    mutable std::optional<int> status_;
};

} // namespace qvs::test
