#include "ConnectionLimits.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include <arpa/inet.h>
#include <netinet/in.h>

namespace qvs {

ConnectionLimits::Slot::Slot(Slot&& other) noexcept
    : limits_(std::exchange(other.limits_, nullptr)), group_(std::move(other.group_)) {}

ConnectionLimits::Slot::~Slot() {
    Release();
}

void ConnectionLimits::Slot::Release() {
    if (limits_ != nullptr) {
        std::exchange(limits_, nullptr)->Release(group_);
    }
}

std::string ConnectionLimits::Group(const std::string& address) {
    in6_addr bytes{};
    if (::inet_pton(AF_INET6, address.c_str(), &bytes) != 1) {
        return address;
    }
    std::fill(std::begin(bytes.s6_addr) + 8, std::end(bytes.s6_addr), 0);
    char text[INET6_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET6, &bytes, text, sizeof text);
    return std::string(text) + "/64";
}

std::optional<ConnectionLimits::Slot> ConnectionLimits::Take(const std::string& address,
                                                             std::string& refusal) {
    std::string group = Group(address);
    const std::lock_guard lock(mutex_);
    if (open_ >= total_) {
        refusal = "refused: " + std::to_string(total_) + " connections open";
        return std::nullopt;
    }
    std::size_t& mine = byAddress_[group];
    if (mine >= perAddress_) {
        refusal = "refused: " + std::to_string(perAddress_) + " connections from " +
                  (group == address ? "this address" : group);
        return std::nullopt;
    }
    ++mine;
    ++open_;
    return Slot(*this, std::move(group));
}

std::size_t ConnectionLimits::Open() {
    const std::lock_guard lock(mutex_);
    return open_;
}

void ConnectionLimits::Release(const std::string& group) {
    const std::lock_guard lock(mutex_);
    --open_;
    const auto entry = byAddress_.find(group);
    if (entry != byAddress_.end() && --entry->second == 0) {
        byAddress_.erase(entry);
    }
}

} // namespace qvs
