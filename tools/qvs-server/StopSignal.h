// Waits for SIGINT or SIGTERM on a thread of the caller's choosing. Construct
// it before any other thread starts, so that every thread inherits the
// blocked signals and only Wait receives them.
#pragma once

#include <signal.h>

namespace qvs {

class StopSignal {
public:
    StopSignal();
    // Blocks until SIGINT or SIGTERM arrives; returns its number.
    int Wait();

private:
    sigset_t signals_;
};

} // namespace qvs
