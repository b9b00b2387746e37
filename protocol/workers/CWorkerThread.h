// The frame every worker shares: a thread that carries out one request.
//
// Life: construct (suspended), set the inputs in WorkerValues and clear
// WorkerFailed, Resume, poll IsTerminated, destroy (joins), then read
// WorkerFailed and the results. Execute reports failure by throwing; the
// frame turns every error into WorkerFailed at one place, so nothing escapes
// the thread and a failed request leaves the results untouched.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/TcpSocket.h"
#include "protocol/UpdateFrame.h"
#include "protocol/WorkerValues.h"

namespace qvs {

class CWorkerThread {
public:
    virtual ~CWorkerThread();
    CWorkerThread(const CWorkerThread&) = delete;
    CWorkerThread& operator=(const CWorkerThread&) = delete;

    // Starts the body; a worker runs once, so later calls do nothing.
    void Resume();
    // True once the body has run to its end, on success or failure.
    bool IsTerminated() const;
    // Blocks until the body has ended; returns at once when never resumed.
    void WaitFor();
    // Waits at most limit for the body to end, returning early when it does;
    // true once it has. Owners poll with it instead of a plain sleep, so a
    // finished request is not followed by a wasted part of the interval.
    bool AwaitTermination(std::chrono::milliseconds limit);

protected:
    // waitMs: the longest wait for each piece of a reply, and for connecting.
    CWorkerThread(WorkerValues& values, int waitMs);

    // One request; throws on any failure. Results go to Values() only after
    // the whole answer has been received and parsed.
    virtual void Execute() = 0;

    WorkerValues& Values() const { return values_; }
    int WaitMs() const { return waitMs_; }

    // The worker's connection; closed when the body ends, whatever happened.
    platform::TcpSocket Socket;

private:
    void Run() noexcept;

    WorkerValues& values_;
    const int waitMs_;
    std::atomic<bool> terminated_{false};
    std::mutex terminationMutex_;
    std::condition_variable terminationSignal_;
    std::thread thread_;
};

} // namespace qvs
