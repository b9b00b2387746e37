// The caps on open connections, over all ports: a total and one per client
// address, so a few addresses cannot take every slot. An IPv6 client counts
// by its /64, the least one host is given: it has billions of addresses. A
// connection holds its Slot while it is open; one over a cap gets none and
// is closed at once.
#pragma once

#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

namespace qvs {

class ConnectionLimits {
public:
    class Slot {
    public:
        Slot(Slot&& other) noexcept;
        Slot& operator=(Slot&&) = delete;
        Slot(const Slot&) = delete;
        Slot& operator=(const Slot&) = delete;
        ~Slot();
        // Frees the slot now rather than with the object.
        void Release();

    private:
        friend class ConnectionLimits;
        Slot(ConnectionLimits& limits, std::string group)
            : limits_(&limits), group_(std::move(group)) {}

        ConnectionLimits* limits_;
        std::string group_;
    };

    ConnectionLimits(std::size_t total, std::size_t perAddress)
        : total_(total), perAddress_(perAddress) {}

    // A slot for one more connection from address (text, IPv4 or IPv6),
    // or nothing (and why) when a cap is reached.
    std::optional<Slot> Take(const std::string& address, std::string& refusal);
    std::size_t Open();

    // What the per-address cap counts: the address itself, or for IPv6 its
    // /64 ("2001:db8:1:2::/64").
    static std::string Group(const std::string& address);

private:
    void Release(const std::string& group);

    const std::size_t total_;
    const std::size_t perAddress_;
    std::mutex mutex_;
    std::size_t open_ = 0;
    std::unordered_map<std::string, std::size_t> byAddress_; // by Group
};

} // namespace qvs
