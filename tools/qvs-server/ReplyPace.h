// Whether a reply is taken fast enough: what the client has taken is sampled
// at the end of every slice (a quarter of the window); a client that took
// less than the minimum rate's worth over the last whole window is too slow.
// A window slides, so a slow client cannot pass by a burst now and then, nor
// a fast one fail by a pause shorter than the window.
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>

namespace qvs {

class ReplyPace {
public:
    static constexpr std::size_t Slices = 4;

    ReplyPace(std::chrono::milliseconds window, std::uint64_t bytesPerSecond)
        : window_(window), minimum_(Minimum(window, bytesPerSecond)) {}

    std::chrono::milliseconds Slice() const { return window_ / Slices; }
    // Records what the client has taken in all at the end of a slice.
    bool TooSlow(std::uint64_t taken);

private:
    // In whole seconds and the rest apart: the largest rate and window
    // allowed would overflow their product in milliseconds.
    static std::uint64_t Minimum(std::chrono::milliseconds window, std::uint64_t bytesPerSecond) {
        const auto ms = static_cast<std::uint64_t>(window.count());
        return bytesPerSecond * (ms / 1000) + bytesPerSecond * (ms % 1000) / 1000;
    }

    std::chrono::milliseconds window_;
    std::uint64_t minimum_;                           // bytes per window
    std::array<std::uint64_t, Slices + 1> samples_{}; // the last ones, in a ring; 0 at the start
    std::size_t count_ = 1;
};

} // namespace qvs
