#include "ReplyPace.h"

namespace qvs {

bool ReplyPace::TooSlow(std::uint64_t taken) {
    samples_[count_ % samples_.size()] = taken;
    ++count_;
    if (count_ <= Slices) {
        return false; // not a whole window yet
    }
    // The oldest sample is the one a window ago; its slot is the next to fill.
    return taken - samples_[count_ % samples_.size()] < minimum_;
}

} // namespace qvs
