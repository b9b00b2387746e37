// Runs a worker to its end as the launcher's owners do, blocking.
#pragma once

#include "workers/RunWorker.h"

namespace qvs::test {

// Short enough to keep stall tests quick, long enough for loopback.
inline constexpr int ShortWaitMs = 300;

template <typename Body, typename... Args>
WorkerOutcome RunToEnd(WorkerValues& values, Args&&... args) {
    Worker<Body> worker(values, std::forward<Args>(args)...);
    return qvs::RunWorker(worker, WaitPolicy::Block());
}

} // namespace qvs::test
