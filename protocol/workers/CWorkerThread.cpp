#include "protocol/workers/CWorkerThread.h"

namespace qvs {

CWorkerThread::CWorkerThread(WorkerValues& values, int waitMs) : values_(values), waitMs_(waitMs) {}

CWorkerThread::~CWorkerThread() {
    WaitFor();
}

void CWorkerThread::Resume() {
    if (!thread_.joinable() && !terminated_.load()) {
        thread_ = std::thread([this] { Run(); });
    }
}

bool CWorkerThread::IsTerminated() const {
    return terminated_.load(std::memory_order_acquire);
}

void CWorkerThread::WaitFor() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

bool CWorkerThread::AwaitTermination(std::chrono::milliseconds limit) {
    std::unique_lock lock(terminationMutex_);
    return terminationSignal_.wait_for(lock, limit, [this] { return IsTerminated(); });
}

void CWorkerThread::Run() noexcept {
    try {
        Execute();
    } catch (...) {
        values_.WorkerFailed.store(true);
    }
    try {
        Socket.Close();
    } catch (...) {
        // The connection is gone either way.
    }
    // Last step: the owner reads the results once it sees this.
    {
        const std::lock_guard lock(terminationMutex_);
        terminated_.store(true, std::memory_order_release);
    }
    terminationSignal_.notify_all();
}

} // namespace qvs
