// A loopback TCP server that plays a script on every connection it accepts,
// to drive clients through well-behaved and misbehaving replies: stalls,
// replies cut short, early closes, wrong bytes. It keeps the exact bytes each
// client sent.
#pragma once

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/SocketError.h"
#include "platform/TcpListener.h"

namespace qvs::test {

class ScriptedServer {
public:
    struct Step {
        enum class Kind { Receive, ReceiveRequest, Send, Pause } kind;
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
    static Step Hold() { return Receive(SIZE_MAX); }
    // An HTTP exchange: the request, then data in pieces of pieceSize bytes
    // with a pause between, so the client sees them as separate arrivals.
    static Script HttpReply(const std::string& data, std::size_t pieceSize = SIZE_MAX,
                            int pauseMs = 2) {
        Script script{ReceiveRequest()};
        for (std::size_t at = 0; at < data.size(); at += pieceSize) {
            script.push_back(Send(data.substr(at, pieceSize)));
            script.push_back(Pause(pauseMs));
        }
        return script;
    }

    // Listens on 127.0.0.1 at a free port; after the last step the
    // connection is closed.
    explicit ScriptedServer(Script script)
        : ScriptedServer([script](const std::string&, int) { return script; }, false) {}
    // Reads the HTTP request first, then plays what picker gives for it.
    explicit ScriptedServer(ScriptPicker picker) : ScriptedServer(std::move(picker), true) {}
    ~ScriptedServer() {
        stop_.store(true);
        thread_.join();
    }
    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;

    std::uint16_t Port() const { return port_; }
    std::string Address() const { return "127.0.0.1:" + std::to_string(port_); }
    // What clients sent so far, one entry per accepted connection; a
    // request is in before any reply to it is sent.
    std::vector<std::string> Requests() const {
        const std::lock_guard lock(mutex_);
        return requests_;
    }

private:
    static constexpr int pollMs = 20;
    static constexpr int waitLimitMs = 30000;

    ScriptedServer(ScriptPicker picker, bool readRequest)
        : picker_(std::move(picker)), readRequest_(readRequest), listener_("127.0.0.1", 0),
          port_(listener_.LocalPort()), thread_([this] { Serve(); }) {}

    void Serve() {
        while (!stop_.load()) {
            std::optional<platform::TcpSocket> client;
            std::size_t index = 0;
            try {
                if (!(client = listener_.Accept(pollMs))) {
                    continue;
                }
                {
                    const std::lock_guard lock(mutex_);
                    index = requests_.size();
                    requests_.emplace_back();
                }
                if (readRequest_) {
                    Read(*client, index, ReceiveRequest());
                }
                for (const Step& step : picker_(Requests()[index], static_cast<int>(index))) {
                    if (step.kind == Step::Kind::Send) {
                        client->SendAll(step.bytes);
                    } else if (step.kind == Step::Kind::Pause) {
                        std::this_thread::sleep_for(std::chrono::milliseconds(step.count));
                    } else {
                        Read(*client, index, step);
                    }
                }
            } catch (const platform::SocketError&) {
                // The client went away mid-script; that is what some tests want.
            }
        }
    }

    // Reads count bytes, or up to an empty line (request), or until the
    // client closes or stops sending for long.
    void Read(platform::TcpSocket& client, std::size_t index, const Step& step) {
        const bool request = step.kind == Step::Kind::ReceiveRequest;
        std::string got;
        char buffer[4096];
        for (int idle = 0; idle < waitLimitMs && !stop_.load();) {
            if (request ? got.find("\r\n\r\n") != std::string::npos : got.size() >= step.count) {
                return;
            }
            if (!client.WaitForData(pollMs)) {
                idle += pollMs;
                continue;
            }
            const std::size_t want = request ? 1 : std::min(sizeof buffer, step.count - got.size());
            const std::size_t n = client.Receive(buffer, want);
            if (n == 0) {
                return;
            }
            got.append(buffer, n);
            const std::lock_guard lock(mutex_);
            requests_[index].append(buffer, n);
        }
    }

    ScriptPicker picker_;
    bool readRequest_;
    platform::TcpListener listener_;
    std::uint16_t port_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
    std::thread thread_;
};

} // namespace qvs::test
