// What every request body that talks to a server over TCP holds: the
// process-wide values, where to connect, how long to wait for each piece of
// the reply, and the connection, which the worker closes when the body ends.
#pragma once

#include <cstdint>
#include <string>

#include "platform/TcpSocket.h"
#include "protocol/UpdateFrame.h"
#include "workers/WorkerValues.h"

namespace qvs {

class ServerRequest {
public:
    ServerRequest(WorkerValues& values, std::string host, std::uint16_t port,
                  int waitMs = WaitForDataMs)
        : values_(values), host_(std::move(host)), port_(port), waitMs_(waitMs) {}

    platform::TcpSocket Socket;

protected:
    WorkerValues& Values() const { return values_; }
    const std::string& Host() const { return host_; }
    std::uint16_t Port() const { return port_; }
    int WaitMs() const { return waitMs_; }

private:
    WorkerValues& values_;
    std::string host_;
    std::uint16_t port_;
    int waitMs_;
};

} // namespace qvs
