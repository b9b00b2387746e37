// Serves every port of qvs-server from one small pool of threads (one per
// core), each running an event loop of its own over the same listening
// sockets: whichever loop is free takes the next connection and serves it to
// the end, so nothing a client does holds a thread and no loop waits on
// another. SIGINT or SIGTERM stops accepting at once and ends Run within two
// seconds whatever the clients do.
#pragma once

#include <cstdint>
#include <memory>
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
    // One thread's event loop: its own copy of every listening socket and
    // the connections it accepted. Single-threaded, so it needs no strands.
    struct Loop {
        asio::io_context io{1};
        std::vector<Listener> listeners;
    };

    static std::vector<std::unique_ptr<Loop>> MakeLoops();
    void Listen(const asio::ip::address& address);
    asio::awaitable<void> Accept(Listener& listener);
    void Admit(asio::ip::tcp::socket socket, const asio::ip::tcp::endpoint& remote,
               const Port& port);
    void Stop(int signalNumber);
    void StopWhenIdle(int ticksLeft);

    const ServerOptions& options_;
    RequestLog& log_;
    ConnectionLimits limits_; // outlives the loops: connections hold slots
    std::vector<Port> ports_;
    std::vector<std::unique_ptr<Loop>> loops_; // the first one also watches signals
    asio::signal_set signals_;
    asio::steady_timer stopTimer_;
    int signalNumber_ = 0;
};

} // namespace qvs
