#include "workers/RunWorker.h"

#include <chrono>

namespace qvs {

namespace {

constexpr std::chrono::milliseconds PollInterval{100};

} // namespace

WaitPolicy::WaitPolicy(std::function<void()> betweenPolls)
    : betweenPolls_(std::move(betweenPolls)) {}

WaitPolicy WaitPolicy::Block() {
    return WaitPolicy({});
}

WaitPolicy WaitPolicy::PumpMessages(std::function<void()> processPendingMessages) {
    return WaitPolicy(std::move(processPendingMessages));
}

WaitPolicy WaitPolicy::PumpAndShowProgress(
    std::function<void()> processPendingMessages, const TransferProgress& progress,
    std::function<void(std::int32_t received, std::int32_t total)> show) {
    return WaitPolicy(
        [pump = std::move(processPendingMessages), &progress, show = std::move(show)] {
            show(progress.BytesReceived.load(), progress.BytesTotal.load());
            pump();
        });
}

WorkerOutcome RunWorker(WorkerFrame& frame, const WaitPolicy& policy) {
    // Owners rely on it being false when a worker starts; no worker ever
    // clears it.
    frame.Values().WorkerFailed = false;
    frame.Resume();
    if (policy.Blocks()) {
        frame.WaitFor();
    } else {
        while (!frame.IsTerminated()) {
            policy.BetweenPolls();
            frame.AwaitTermination(PollInterval);
        }
        frame.WaitFor();
    }
    if (const auto& failure = frame.Failure()) {
        return {true, *failure};
    }
    return {};
}

} // namespace qvs
