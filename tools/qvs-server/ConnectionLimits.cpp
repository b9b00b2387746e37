#include "ConnectionLimits.h"

#include <utility>

namespace qvs {

ConnectionLimits::Slot::Slot(Slot&& other) noexcept
    : limits_(std::exchange(other.limits_, nullptr)), address_(std::move(other.address_)) {}

ConnectionLimits::Slot::~Slot() {
    Release();
}

void ConnectionLimits::Slot::Release() {
    if (limits_ != nullptr) {
        std::exchange(limits_, nullptr)->Release(address_);
    }
}

std::optional<ConnectionLimits::Slot> ConnectionLimits::Take(const std::string& address,
                                                             std::string& refusal) {
    const std::lock_guard lock(mutex_);
    if (open_ >= total_) {
        refusal = "refused: " + std::to_string(total_) + " connections open";
        return std::nullopt;
    }
    std::size_t& mine = byAddress_[address];
    if (mine >= perAddress_) {
        refusal = "refused: " + std::to_string(perAddress_) + " connections from this address";
        return std::nullopt;
    }
    ++mine;
    ++open_;
    return Slot(*this, address);
}

std::size_t ConnectionLimits::Open() {
    const std::lock_guard lock(mutex_);
    return open_;
}

void ConnectionLimits::Release(const std::string& address) {
    const std::lock_guard lock(mutex_);
    --open_;
    const auto entry = byAddress_.find(address);
    if (entry != byAddress_.end() && --entry->second == 0) {
        byAddress_.erase(entry);
    }
}

} // namespace qvs
