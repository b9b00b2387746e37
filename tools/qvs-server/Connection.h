// One client connection on a strand of its own: reads one request, sends the
// reply (a file in pieces as the client takes them), then closes. The request
// must be whole within the request time-out of the connection, however it
// drips in; the reply must be taken at the minimum rate over every window of
// the reply time-out (ReplyPace). A connection that fails either is closed.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include <asio/awaitable.hpp>
#include <asio/ip/tcp.hpp>
#include <asio/steady_timer.hpp>

#include <optional>

#include "ConnectionLimits.h"
#include "ReplyPace.h"
#include "RequestLog.h"
#include "ServerOptions.h"
#include "Service.h"

namespace qvs {

class Connection : public std::enable_shared_from_this<Connection> {
public:
    using Socket = asio::ip::tcp::socket;

    // name: the port's name in the log; address: the client's address;
    // peer: its address and port, for the log.
    Connection(Socket socket, std::string name, std::string address, std::string peer,
               const Service& service, const ServerOptions& options, RequestLog& log,
               ConnectionLimits::Slot slot);

    // Serves the connection to its end and logs its one line; run it on the
    // socket's executor.
    asio::awaitable<void> Run();

private:
    asio::awaitable<std::string> Exchange();
    // False when the client ended its side before the request was whole.
    asio::awaitable<bool> ReadRequest(std::string& request);
    asio::awaitable<void> SendFile(const ServedFile& file);
    asio::awaitable<void> Linger();
    void Arm(std::chrono::milliseconds limit);
    // Checks the reply's pace at every slice until the next Arm.
    void WatchPace();
    void NextSlice(std::uint64_t generation);
    // The reply's bytes the client has acknowledged.
    std::uint64_t Taken();
    std::string Failure(const std::exception& error) const;

    Socket socket_;
    asio::steady_timer deadline_;
    std::string name_;
    std::string address_;
    std::string peer_; // address and port
    const Service& service_;
    const ServerOptions& options_;
    RequestLog& log_;
    ConnectionLimits::Slot slot_;
    std::uint64_t generation_ = 0; // which Arm the pending deadline belongs to
    std::chrono::milliseconds limit_{0};
    bool expired_ = false;
    bool replying_ = false;
    std::string described_; // what the client asked for, once known
    std::optional<ReplyPace> pace_;
    std::uint64_t handed_ = 0; // the reply's bytes given to the socket
};

} // namespace qvs
