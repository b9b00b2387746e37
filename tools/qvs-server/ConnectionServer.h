// Accepts connections on one port and runs each on a thread of its own. The
// number of connections served at once is bounded; one more waits a moment
// for a slot and is closed when none frees. Stop ends the accept loop and
// waits for the running connections, which end by themselves within their
// read time-outs.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "RequestLog.h"
#include "platform/TcpListener.h"

namespace qvs {

class ConnectionServer {
public:
    // Serves one connection and returns the text to log for it; what it
    // throws is logged as an error of that connection.
    using Handler = std::function<std::string(platform::TcpSocket&)>;

    static constexpr std::size_t MaxConnections = 256;

    // Throws SocketError when the port cannot be bound.
    ConnectionServer(std::string name, const std::string& address, std::uint16_t port,
                     Handler handler, RequestLog& log);
    ~ConnectionServer();
    ConnectionServer(const ConnectionServer&) = delete;
    ConnectionServer& operator=(const ConnectionServer&) = delete;

    void Stop();

private:
    void AcceptLoop();
    void Serve(platform::TcpSocket socket);
    void Finished();

    std::string name_;
    platform::TcpListener listener_;
    Handler handler_;
    RequestLog& log_;
    std::mutex mutex_;
    std::condition_variable idle_;
    std::size_t active_ = 0;
    bool stopping_ = false;
    std::thread acceptor_;
};

} // namespace qvs
