// A bounded wait cut into short pieces, so a thread that must stay responsive
// (a window's thread) gets control back between them.
#pragma once

#include <algorithm>
#include <chrono>
#include <functional>

namespace qvs::platform {

inline constexpr int WaitSliceMs = 50;

// waitOnce(ms) waits at most ms and returns true once the awaited thing has
// happened. Waits at most timeoutMs in all (negative: without limit); between
// pieces calls between, which may throw to give up. Without between, waits in
// one piece.
template <typename WaitOnce>
bool WaitInSlices(WaitOnce waitOnce, int timeoutMs, const std::function<void()>& between) {
    if (!between) {
        return waitOnce(timeoutMs);
    }
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        int slice = WaitSliceMs;
        if (timeoutMs >= 0) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
            slice = static_cast<int>(std::clamp<long long>(left.count(), 0, WaitSliceMs));
        }
        if (waitOnce(slice)) {
            return true;
        }
        if (timeoutMs >= 0 && Clock::now() >= deadline) {
            return false;
        }
        between();
    }
}

} // namespace qvs::platform
