#include "HeldConnections.h"

#include <chrono>
#include <exception>
#include <utility>

#include <poll.h>
#include <sys/socket.h>

namespace qvs::bench {

namespace {

constexpr int PollMs = 100;

} // namespace

HeldConnections::HeldConnections(std::uint16_t port, int network, int count, int perAddress,
                                 std::string request, int dripMs)
    : port_(port), network_(network), perAddress_(perAddress), request_(std::move(request)),
      dripMs_(dripMs), sent_(static_cast<std::size_t>(count), 0) {
    sockets_.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        sockets_.emplace_back(LoopbackAddress(network_, i / perAddress_), port_, false);
    }
    thread_ = std::thread([this] { Run(); });
}

HeldConnections::~HeldConnections() {
    stop_ = true;
    thread_.join();
}

void HeldConnections::Run() {
    std::vector<pollfd> entries(sockets_.size());
    auto lastDrip = std::chrono::steady_clock::now();
    while (!stop_) {
        for (std::size_t i = 0; i < sockets_.size(); ++i) {
            entries[i] = {sockets_[i].Descriptor(), POLLIN, 0};
        }
        if (::poll(entries.data(), entries.size(), PollMs) > 0) {
            for (std::size_t i = 0; i < entries.size(); ++i) {
                if (entries[i].revents != 0) {
                    Reopen(i); // the server closed it: its end or its refusal
                }
            }
        }
        if (!request_.empty() &&
            std::chrono::steady_clock::now() - lastDrip > std::chrono::milliseconds(dripMs_)) {
            lastDrip = std::chrono::steady_clock::now();
            Drip();
        }
    }
}

void HeldConnections::Reopen(std::size_t index) {
    try {
        const int host = static_cast<int>(index) / perAddress_;
        sockets_[index] = LoopbackSocket(LoopbackAddress(network_, host), port_, false);
        sent_[index] = 0;
        ++reopened_;
    } catch (const std::exception&) {
        ++failed_;
    }
}

void HeldConnections::Drip() {
    for (std::size_t i = 0; i < sockets_.size(); ++i) {
        if (sent_[i] < request_.size() && ::send(sockets_[i].Descriptor(), &request_[sent_[i]], 1,
                                                 MSG_NOSIGNAL | MSG_DONTWAIT) == 1) {
            ++sent_[i];
        }
    }
}

} // namespace qvs::bench
