#include "TcpServer.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <memory>
#include <system_error>
#include <thread>

#include <fcntl.h>

#include <asio/co_spawn.hpp>
#include <asio/detached.hpp>
#include <asio/post.hpp>
#include <asio/redirect_error.hpp>
#include <asio/use_awaitable.hpp>

#include "Connection.h"

namespace qvs {

namespace {

using namespace std::chrono_literals;

// Launchers start their queries in bursts; a short queue would drop their
// connection requests, which the peer only retries a second later.
constexpr int ListenBacklog = 4096;
// Out of descriptors or memory, accept fails until a connection ends; a
// pause keeps the loop from spinning meanwhile.
constexpr auto AcceptBackOff = 100ms;
// After a stop signal, running exchanges get this long in slices to end.
constexpr auto StopSlice = 50ms;
constexpr int StopSlices = 20;

std::string AddressText(const asio::ip::address& address) {
    if (address.is_v6() && address.to_v6().is_v4_mapped()) {
        return asio::ip::make_address_v4(asio::ip::v4_mapped, address.to_v6()).to_string();
    }
    return address.to_string();
}

} // namespace

TcpServer::TcpServer(const ServerOptions& options, const std::vector<Port>& ports, RequestLog& log)
    : options_(options), log_(log), limits_(options.maxConnections, options.maxPerAddress),
      ports_(ports), loops_(MakeLoops()), signals_(loops_.front()->io, SIGINT, SIGTERM),
      stopTimer_(loops_.front()->io) {
    Listen(asio::ip::make_address(options.bind));
}

std::vector<std::unique_ptr<TcpServer::Loop>> TcpServer::MakeLoops() {
    std::vector<std::unique_ptr<Loop>> loops(std::max(1U, std::thread::hardware_concurrency()));
    for (auto& loop : loops) {
        loop = std::make_unique<Loop>();
    }
    return loops;
}

void TcpServer::Listen(const asio::ip::address& address) {
    Loop& first = *loops_.front();
    for (const Port& port : ports_) {
        asio::ip::tcp::acceptor acceptor(first.io);
        const asio::ip::tcp::endpoint endpoint(address, port.number);
        acceptor.open(endpoint.protocol());
        acceptor.set_option(asio::socket_base::reuse_address(true));
        acceptor.bind(endpoint);
        acceptor.listen(ListenBacklog);
        // The other loops wait on duplicates of the same socket: one queue
        // of connections, taken by whichever loop is free.
        for (std::size_t i = 1; i < loops_.size(); ++i) {
            const int duplicate = ::fcntl(acceptor.native_handle(), F_DUPFD_CLOEXEC, 0);
            if (duplicate < 0) {
                throw std::system_error(errno, std::generic_category(), "duplicating a listener");
            }
            loops_[i]->listeners.push_back(
                {asio::ip::tcp::acceptor(loops_[i]->io, endpoint.protocol(), duplicate), port});
        }
        first.listeners.push_back({std::move(acceptor), port});
    }
}

int TcpServer::Run() {
    signals_.async_wait([this](const asio::error_code& error, int number) {
        if (!error) {
            Stop(number);
        }
    });
    std::vector<std::thread> threads;
    for (const auto& loop : loops_) {
        for (Listener& listener : loop->listeners) {
            asio::co_spawn(loop->io, Accept(listener), asio::detached);
        }
        threads.emplace_back([&io = loop->io] { io.run(); });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    return signalNumber_;
}

asio::awaitable<void> TcpServer::Accept(Listener& listener) {
    asio::steady_timer pause(listener.acceptor.get_executor());
    for (;;) {
        asio::error_code error;
        asio::ip::tcp::endpoint remote;
        asio::ip::tcp::socket socket = co_await listener.acceptor.async_accept(
            remote, asio::redirect_error(asio::use_awaitable, error));
        if (!listener.acceptor.is_open() || error == asio::error::operation_aborted) {
            co_return;
        }
        if (error) {
            log_.Write(listener.port.name, "-", "accept failed: " + error.message());
            pause.expires_after(AcceptBackOff);
            co_await pause.async_wait(asio::redirect_error(asio::use_awaitable, error));
            continue;
        }
        Admit(std::move(socket), remote, listener.port);
    }
}

void TcpServer::Admit(asio::ip::tcp::socket socket, const asio::ip::tcp::endpoint& remote,
                      const Port& port) {
    const std::string address = AddressText(remote.address());
    std::string refusal;
    auto slot = limits_.Take(address, refusal);
    if (!slot) {
        log_.Write(port.name, address + ":" + std::to_string(remote.port()), refusal);
        return; // closed here
    }
    const auto executor = socket.get_executor();
    auto connection = std::make_shared<Connection>(std::move(socket), port.name, address,
                                                   address + ":" + std::to_string(remote.port()),
                                                   port.service, options_, log_, std::move(*slot));
    // The spawned function keeps the connection alive until Run starts.
    asio::co_spawn(
        executor, [connection] { return connection->Run(); }, asio::detached);
}

void TcpServer::Stop(int signalNumber) {
    signalNumber_ = signalNumber;
    log_.Write("server", options_.bind, "stopping on signal " + std::to_string(signalNumber));
    for (const auto& loop : loops_) {
        asio::post(loop->io, [&listeners = loop->listeners] {
            for (Listener& listener : listeners) {
                asio::error_code ignored;
                listener.acceptor.close(ignored);
            }
        });
    }
    StopWhenIdle(StopSlices);
}

void TcpServer::StopWhenIdle(int slicesLeft) {
    if (slicesLeft == 0 || limits_.Open() == 0) {
        for (const auto& loop : loops_) {
            loop->io.stop(); // what still runs is dropped with the loop
        }
        return;
    }
    stopTimer_.expires_after(StopSlice);
    stopTimer_.async_wait([this, slicesLeft](const asio::error_code& error) {
        if (!error) {
            StopWhenIdle(slicesLeft - 1);
        }
    });
}

} // namespace qvs
