// Serves every port of qvs-server from one small pool of threads (one per
// core): each listener and each connection runs as a coroutine on a strand
// of its own, so nothing a client does holds a thread. SIGINT or SIGTERM
// stops accepting at once and ends Run within two seconds whatever the
// clients do.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <asio/awaitable.hpp>
#include <asio/io_context.hpp>
#include <asio/ip/tcp.hpp>
#include <asio/signal_set.hpp>
#include <asio/steady_timer.hpp>

#include "ConnectionLimits.h"
#include "RequestLog.h"
#include "ServerOptions.h"
#include "Service.h"

namespace qvs {

class TcpServer {
public:
    struct Port {
        std::string name; // in the log
        std::uint16_t number;
        const Service& service;
    };

    // Throws std::system_error when a port cannot be bound.
    TcpServer(const ServerOptions& options, const std::vector<Port>& ports, RequestLog& log);

    // Serves until a stop signal; returns its number.
    int Run();

private:
    struct Listener {
        asio::ip::tcp::acceptor acceptor;
        const Port& port;
    };

    asio::awaitable<void> Accept(Listener& listener);
    void Admit(asio::ip::tcp::socket socket, const Port& port);
    void Stop(int signalNumber);
    void StopWhenIdle(int ticksLeft);

    const ServerOptions& options_;
    RequestLog& log_;
    ConnectionLimits limits_; // outlives io_: connections hold slots
    std::vector<Port> ports_;
    asio::io_context io_;
    asio::signal_set signals_;
    asio::steady_timer stopTimer_;
    std::vector<Listener> listeners_;
    int signalNumber_ = 0;
};

} // namespace qvs
