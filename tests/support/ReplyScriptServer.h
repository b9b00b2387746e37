// A raw TCP server on loopback that reads each request up to its empty line,
// keeps the exact bytes, and answers with a script of sends, pauses and
// stalls picked per connection: for testing request-reply clients (HTTP)
// against replies a well-behaved server never sends, redirects included.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/TcpListener.h"

namespace qvs::test {

class ReplyScriptServer {
public:
    struct Step {
        enum class Kind { Send, Pause, Hold } kind;
        std::string data; // Send
        int ms = 0;       // Pause
    };
    using Script = std::vector<Step>;
    // Picks the script from the request and the connection's index (0, 1, ...).
    using ScriptPicker = std::function<Script(const std::string& request, int index)>;

    static Step Send(std::string data) { return {Step::Kind::Send, std::move(data), 0}; }
    static Step Pause(int ms) { return {Step::Kind::Pause, {}, ms}; }
    // Keeps the connection open, sending nothing, until the client closes
    // or the server stops.
    static Step Hold() { return {Step::Kind::Hold, {}, 0}; }
    // Sends data in pieces of pieceSize bytes with a short pause between, so
    // the client sees them as separate arrivals.
    static Script SendInPieces(const std::string& data, std::size_t pieceSize, int pauseMs = 2);

    // Every connection gets the same script.
    explicit ReplyScriptServer(Script script);
    explicit ReplyScriptServer(ScriptPicker picker);
    ~ReplyScriptServer();
    ReplyScriptServer(const ReplyScriptServer&) = delete;
    ReplyScriptServer& operator=(const ReplyScriptServer&) = delete;

    std::uint16_t Port() const { return port_; }
    std::string Address() const; // "127.0.0.1:port"
    // The requests received so far, each up to and including its empty line
    // (or whatever arrived before the client stopped sending).
    std::vector<std::string> Requests() const;

private:
    void Run();
    void Serve(platform::TcpSocket& client, int index);
    std::string ReadRequest(platform::TcpSocket& client);
    void HoldOpen(platform::TcpSocket& client);

    ScriptPicker picker_;
    platform::TcpListener listener_;
    std::uint16_t port_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
    std::thread thread_;
};

} // namespace qvs::test
