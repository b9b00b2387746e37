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
    terminated_.store(true, std::memory_order_release);
}

} // namespace qvs
