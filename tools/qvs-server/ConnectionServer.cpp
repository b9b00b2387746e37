#include "ConnectionServer.h"

#include <chrono>
#include <exception>
#include <utility>

namespace qvs {

namespace {

constexpr int AcceptPollMs = 200; // how soon the loop notices Stop
constexpr int SlotWaitMs = 2000;  // longer than a connection's linger
// Launchers start their queries in bursts; a short queue would drop their
// connection requests, which the peer only retries a second later.
constexpr int ListenBacklog = 1024;

std::string PeerOf(const platform::TcpSocket& socket) {
    try {
        return socket.PeerAddress() + ":" + std::to_string(socket.PeerPort());
    } catch (const std::exception&) {
        return "?";
    }
}

// Closing with unread input makes the peer's system discard our reply (a
// reset), so an error page for an oversized request would never arrive: end
// our side first and read what is left, briefly and boundedly.
void Linger(platform::TcpSocket& socket) {
    constexpr int LingerMs = 1000;
    constexpr std::size_t MaxDrain = 1 << 20;
    try {
        socket.ShutdownSend();
        char buffer[4096];
        std::size_t drained = 0;
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(LingerMs);
        while (drained < MaxDrain && std::chrono::steady_clock::now() < deadline &&
               socket.WaitForData(LingerMs)) {
            const std::size_t count = socket.Receive(buffer, sizeof buffer);
            if (count == 0) {
                break;
            }
            drained += count;
        }
    } catch (const std::exception&) {
        // The peer is gone already; nothing to save.
    }
    socket.Close();
}

} // namespace

ConnectionServer::ConnectionServer(std::string name, const std::string& address, std::uint16_t port,
                                   Handler handler, RequestLog& log)
    : name_(std::move(name)), listener_(address, port, ListenBacklog), handler_(std::move(handler)),
      log_(log), acceptor_([this] { AcceptLoop(); }) {}

ConnectionServer::~ConnectionServer() {
    Stop();
}

void ConnectionServer::Stop() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    if (acceptor_.joinable()) {
        acceptor_.join();
    }
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return active_ == 0; });
}

void ConnectionServer::AcceptLoop() {
    for (;;) {
        {
            const std::lock_guard lock(mutex_);
            if (stopping_) {
                break;
            }
        }
        std::optional<platform::TcpSocket> socket;
        try {
            socket = listener_.Accept(AcceptPollMs);
        } catch (const std::exception& error) {
            log_.Write(name_, "-", std::string("accept failed: ") + error.what());
        }
        if (!socket) {
            continue;
        }
        std::unique_lock lock(mutex_);
        // A connection served to its end may still be draining; waiting for
        // its slot keeps the newcomer in the queue instead of resetting it.
        if (!idle_.wait_for(lock, std::chrono::milliseconds(SlotWaitMs),
                            [this] { return active_ < MaxConnections; })) {
            log_.Write(name_, PeerOf(*socket), "refused: too many connections");
            continue; // the socket closes here
        }
        ++active_;
        std::thread([this, s = std::move(*socket)]() mutable { Serve(std::move(s)); }).detach();
    }
    listener_.Close();
}

void ConnectionServer::Serve(platform::TcpSocket socket) {
    const std::string peer = PeerOf(socket);
    std::string outcome;
    try {
        outcome = handler_(socket);
    } catch (const std::exception& error) {
        outcome = std::string("error: ") + error.what();
    }
    Linger(socket);
    log_.Write(name_, peer, outcome);
    Finished();
}

void ConnectionServer::Finished() {
    // Notified under the lock: Stop may destroy this object as soon as it
    // sees no connection left.
    const std::lock_guard lock(mutex_);
    --active_;
    idle_.notify_all();
}

} // namespace qvs
