// Drives a worker as its owner does: resume, poll IsTerminated, destroy.
#pragma once

#include <chrono>
#include <thread>

#include "protocol/WorkerValues.h"

namespace qvs::test {

// Short enough to keep stall tests quick, long enough for loopback.
inline constexpr int ShortWaitMs = 300;

template <typename Worker, typename... Args> void RunWorker(WorkerValues& values, Args&&... args) {
    Worker worker(values, std::forward<Args>(args)...);
    worker.Resume();
    while (!worker.IsTerminated()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

} // namespace qvs::test
