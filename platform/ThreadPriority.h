// Running a short measurement at raised priority, so that the scheduler is
// less likely to take the processor away in the middle of it.
#pragma once

namespace qvs::platform {

// Raises the calling thread to the highest normal priority and restores the
// previous one when it goes out of scope. Where the system does not allow
// raising (POSIX without privileges) nothing changes.
class RaisedThreadPriority {
public:
    RaisedThreadPriority();
    ~RaisedThreadPriority();
    RaisedThreadPriority(const RaisedThreadPriority&) = delete;
    RaisedThreadPriority& operator=(const RaisedThreadPriority&) = delete;

    bool Raised() const { return raised_; }

private:
    int previous_ = 0;
    bool raised_ = false;
};

// The calling thread's priority in the system's own measure; only for
// comparing one reading with another.
int CurrentThreadPriority();

} // namespace qvs::platform
