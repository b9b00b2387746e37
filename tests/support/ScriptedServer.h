// A loopback TCP server that plays the same script on every connection it
// accepts, to drive clients through well-behaved and misbehaving replies:
// stalls, replies cut short, early closes, wrong bytes.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/TcpListener.h"

namespace qvs::test {

class ScriptedServer {
public:
    struct Step {
        enum class Kind { Receive, Send, Pause, HoldUntilClientCloses };
        Kind kind;
        std::size_t count = 0; // Receive: bytes; Pause: milliseconds
        std::string bytes;     // Send
    };

    // Reads exactly count bytes of the request and records them.
    static Step Receive(std::size_t count);
    static Step Send(std::string bytes);
    static Step Pause(int ms);
    // Keeps the connection open, sending nothing, until the client closes it
    // (or the server is destroyed): a stall that lasts as long as the client waits.
    static Step HoldUntilClientCloses();

    // Listens on 127.0.0.1 at a free port. After the last step the
    // connection is closed.
    explicit ScriptedServer(std::vector<Step> script);
    ~ScriptedServer();
    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;

    std::uint16_t Port() const { return port_; }
    // What clients sent, one entry per accepted connection, in order.
    std::vector<std::string> Received() const;
    // Waits until count connections have been played to their end (at most
    // a few seconds) and returns how many were.
    std::size_t WaitForConnections(std::size_t count) const;

private:
    void Serve();
    void Play(platform::TcpSocket& client, std::string& received);

    std::vector<Step> script_;
    platform::TcpListener listener_;
    std::uint16_t port_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<std::string> received_;
    std::thread thread_;
};

// A loopback port on which nothing listens: connecting to it is refused.
std::uint16_t UnusedPort();

} // namespace qvs::test
