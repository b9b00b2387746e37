#include "platform/ThreadPriority.h"

#include <cerrno>
#include <sys/resource.h>

namespace qvs::platform {

namespace {
// Linux keeps the nice value per thread, and PRIO_PROCESS with id 0 names
// the calling thread. Lower is more urgent; 5 steps is a clear raise that
// still stays among normal time-sharing priorities.
constexpr int kRaise = 5;
} // namespace

RaisedThreadPriority::RaisedThreadPriority() {
    errno = 0;
    const int current = ::getpriority(PRIO_PROCESS, 0);
    if (current == -1 && errno != 0) {
        return;
    }
    if (::setpriority(PRIO_PROCESS, 0, current - kRaise) == 0) {
        previous_ = current;
        raised_ = true;
    }
}

RaisedThreadPriority::~RaisedThreadPriority() {
    if (raised_) {
        ::setpriority(PRIO_PROCESS, 0, previous_);
    }
}

int CurrentThreadPriority() {
    return ::getpriority(PRIO_PROCESS, 0);
}

} // namespace qvs::platform
