#include "workers/WorkerFrame.h"

namespace qvs {

WorkerFrame::WorkerFrame(WorkerValues& values, std::function<void()> body,
                         std::function<void()> finish)
    : values_(values), body_(std::move(body)), finish_(std::move(finish)) {}

WorkerFrame::~WorkerFrame() {
    WaitFor();
}

void WorkerFrame::Resume() {
    if (!thread_.joinable() && !terminated_.load()) {
        thread_ = std::thread([this] { Run(); });
    }
}

bool WorkerFrame::IsTerminated() const {
    return terminated_.load(std::memory_order_acquire);
}

void WorkerFrame::WaitFor() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

bool WorkerFrame::AwaitTermination(std::chrono::milliseconds limit) {
    std::unique_lock lock(terminationMutex_);
    return terminationSignal_.wait_for(lock, limit, [this] { return IsTerminated(); });
}

void WorkerFrame::Run() noexcept {
    try {
        body_();
    } catch (...) {
        values_.WorkerFailed.store(true);
        try {
            failure_ = WorkerFailure::FromCurrentException();
        } catch (...) {
            // No memory left even for the reason's text.
            failure_.emplace(WorkerFailure{WorkerFailure::Kind::Memory, {}});
        }
    }
    if (finish_) {
        try {
            finish_();
        } catch (...) {
            // Clean-up of a request that is over either way.
        }
    }
    // Last step: the owner reads the results once it sees this.
    {
        const std::lock_guard lock(terminationMutex_);
        terminated_.store(true, std::memory_order_release);
    }
    terminationSignal_.notify_all();
}

} // namespace qvs
