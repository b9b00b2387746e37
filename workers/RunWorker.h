// The one way an owner runs a worker: WorkerFailed is made false, the
// worker resumed and waited for as the policy says, and the outcome handed
// back with the reason of a failure.
#pragma once

#include <cstdint>
#include <functional>

#include "workers/ServerConversation.h"
#include "workers/Worker.h"
#include "workers/WorkerFailure.h"
#include "workers/WorkerFrame.h"

namespace qvs {

class WaitPolicy {
public:
    // Nothing runs on the owner's thread until the worker has ended.
    static WaitPolicy Block();
    // Between polls the owner's window processes its pending messages.
    static WaitPolicy PumpMessages(std::function<void()> processPendingMessages);
    // Between polls: show the transfer's progress (bytes received, bytes in
    // all), then process pending messages.
    static WaitPolicy
    PumpAndShowProgress(std::function<void()> processPendingMessages,
                        const TransferProgress& progress,
                        std::function<void(std::int32_t received, std::int32_t total)> show);

    bool Blocks() const { return !betweenPolls_; }
    void BetweenPolls() const { betweenPolls_(); }

private:
    explicit WaitPolicy(std::function<void()> betweenPolls);

    std::function<void()> betweenPolls_;
};

struct WorkerOutcome {
    bool failed = false;
    WorkerFailure failure; // only when failed
};

WorkerOutcome RunWorker(WorkerFrame& frame, const WaitPolicy& policy);

template <typename Body> WorkerOutcome RunWorker(Worker<Body>& worker, const WaitPolicy& policy) {
    return RunWorker(worker.Frame(), policy);
}

} // namespace qvs
