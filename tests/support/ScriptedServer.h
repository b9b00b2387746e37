// A loopback TCP server that plays a script on every connection it accepts,
// to drive clients through well-behaved and misbehaving replies: stalls,
// replies cut short, early closes, wrong bytes. It keeps the exact bytes each
// client sent.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/TcpListener.h"

namespace qvs::test {

class ScriptedServer {
public:
    struct Step {
        enum class Kind { Receive, ReceiveRequest, Send, Pause, Hold } kind;
        std::size_t count = 0; // Receive: bytes; Pause: milliseconds
        std::string bytes;     // Send
    };
    using Script = std::vector<Step>;
    // Picks the script from the HTTP request and the connection's index (0, 1, ...).
    using ScriptPicker = std::function<Script(const std::string& request, int index)>;

    // Reads exactly count bytes of the request.
    static Step Receive(std::size_t count) { return {Step::Kind::Receive, count, {}}; }
    // Reads an HTTP request up to its empty line.
    static Step ReceiveRequest() { return {Step::Kind::ReceiveRequest, 0, {}}; }
    static Step Send(std::string bytes) { return {Step::Kind::Send, 0, std::move(bytes)}; }
    static Step Pause(int ms) { return {Step::Kind::Pause, static_cast<std::size_t>(ms), {}}; }
    // Sends nothing until the client closes (or the server is destroyed): a
    // stall that lasts as long as the client waits.
    static Step Hold() { return {Step::Kind::Hold, 0, {}}; }
    static Step HoldUntilClientCloses() { return Hold(); }
    // An HTTP exchange: the request, then data in pieces of pieceSize bytes
    // with a pause between, so the client sees them as separate arrivals.
    static Script HttpReply(const std::string& data, std::size_t pieceSize = SIZE_MAX,
                            int pauseMs = 2);

    // Listens on 127.0.0.1 at a free port; after the last step the
    // connection is closed.
    explicit ScriptedServer(Script script);
    // Reads the HTTP request first, then plays what picker gives for it.
    explicit ScriptedServer(ScriptPicker picker);
    ~ScriptedServer();
    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;

    std::uint16_t Port() const { return port_; }
    std::string Address() const { return "127.0.0.1:" + std::to_string(port_); }
    // What clients sent so far, one entry per accepted connection; a
    // request is in before any reply to it is sent.
    std::vector<std::string> Received() const;
    std::vector<std::string> Requests() const { return Received(); }
    // A loopback port on which nothing listens: connecting to it is refused.
    static std::uint16_t RefusedPort();

private:
    ScriptedServer(ScriptPicker picker, bool readRequest);
    void Serve();
    void Play(platform::TcpSocket& client, std::size_t index);
    void Read(platform::TcpSocket& client, std::size_t index, std::size_t count, bool request);

    ScriptPicker picker_;
    bool readRequest_;
    platform::TcpListener listener_;
    std::uint16_t port_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<std::string> received_;
    std::thread thread_;
};

} // namespace qvs::test
