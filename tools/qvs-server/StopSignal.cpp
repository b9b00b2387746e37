#include "StopSignal.h"

#include <pthread.h>

namespace qvs {

StopSignal::StopSignal() {
    sigemptyset(&signals_);
    sigaddset(&signals_, SIGINT);
    sigaddset(&signals_, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals_, nullptr);
    // A peer that hangs up mid-reply is an error of that connection only.
    signal(SIGPIPE, SIG_IGN);
}

int StopSignal::Wait() {
    int number = 0;
    while (sigwait(&signals_, &number) != 0) {
    }
    return number;
}

} // namespace qvs
