// The frame that runs one worker's request on a thread of its own.
//
// Life: construct (suspended), Resume, poll IsTerminated, destroy (joins),
// then read WorkerFailed, Failure and the results. The body reports failure
// by throwing; the frame turns every error into WorkerFailed and a
// WorkerFailure at one place, so nothing escapes the thread and a failed
// request leaves the results untouched. Owners run it through RunWorker.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "workers/WorkerFailure.h"
#include "workers/WorkerValues.h"

namespace qvs {

class WorkerFrame {
public:
    // body: the request, run once on the worker's thread. finish: runs after
    // the body whatever happened (closing the connection), before the
    // worker counts as terminated.
    WorkerFrame(WorkerValues& values, std::function<void()> body,
                std::function<void()> finish = {});
    // Joins: the body's objects may only go once its thread has ended.
    ~WorkerFrame();
    WorkerFrame(const WorkerFrame&) = delete;
    WorkerFrame& operator=(const WorkerFrame&) = delete;

    // Starts the body; a worker runs once, so later calls do nothing.
    void Resume();
    // True once the body has run to its end, on success or failure.
    bool IsTerminated() const;
    // Blocks until the body has ended; returns at once when never resumed.
    void WaitFor();
    // Waits at most limit for the body to end, returning early when it does;
    // true once it has.
    bool AwaitTermination(std::chrono::milliseconds limit);
    // Why the body failed; empty on success. Read after IsTerminated.
    const std::optional<WorkerFailure>& Failure() const { return failure_; }

    WorkerValues& Values() const { return values_; }

private:
    void Run() noexcept;

    WorkerValues& values_;
    std::function<void()> body_;
    std::function<void()> finish_;
    std::optional<WorkerFailure> failure_;
    std::atomic<bool> terminated_{false};
    std::mutex terminationMutex_;
    std::condition_variable terminationSignal_;
    // Last: every member above outlives the thread.
    std::thread thread_;
};

} // namespace qvs
