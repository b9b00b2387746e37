// Connections that are only held open against a server, as idle or
// slow-drip clients do: opened from distinct loopback addresses (perAddress
// each) and opened again whenever the server closes one. Dripping sends the
// next byte of request on each every dripMs, slower than any deadline.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "LoopbackSocket.h"

namespace qvs::bench {

class HeldConnections {
public:
    HeldConnections(std::uint16_t port, int network, int count, int perAddress,
                    std::string request = {}, int dripMs = 0);
    ~HeldConnections();
    HeldConnections(const HeldConnections&) = delete;
    HeldConnections& operator=(const HeldConnections&) = delete;

    int Reopened() const { return reopened_; }
    int Failed() const { return failed_; }

private:
    void Run();
    void Reopen(std::size_t index);
    void Drip();

    std::uint16_t port_;
    int network_;
    int perAddress_;
    std::string request_;
    int dripMs_;
    std::vector<LoopbackSocket> sockets_;
    std::vector<std::size_t> sent_; // bytes of the request each has sent
    std::atomic<bool> stop_{false};
    std::atomic<int> reopened_{0};
    std::atomic<int> failed_{0};
    std::thread thread_;
};

} // namespace qvs::bench
