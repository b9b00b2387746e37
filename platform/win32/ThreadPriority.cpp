#include "platform/ThreadPriority.h"

#include <windows.h>

namespace qvs::platform {

RaisedThreadPriority::RaisedThreadPriority() {
    const int current = ::GetThreadPriority(::GetCurrentThread());
    if (current == THREAD_PRIORITY_ERROR_RETURN) {
        return;
    }
    if (::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_HIGHEST)) {
        previous_ = current;
        raised_ = true;
    }
}

RaisedThreadPriority::~RaisedThreadPriority() {
    if (raised_) {
        ::SetThreadPriority(::GetCurrentThread(), previous_);
    }
}

int CurrentThreadPriority() {
    return ::GetThreadPriority(::GetCurrentThread());
}

} // namespace qvs::platform
