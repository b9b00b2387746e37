#include "ui/win32/base/ModalLoop.h"

#include "ui/win32/base/MessagePump.h"

#include <algorithm>

namespace qvs::win32 {

ModalLoop::ModalLoop(HWND owner) : owner_(owner) {
    if (owner_ != nullptr && IsWindowEnabled(owner_)) {
        EnableWindow(owner_, FALSE);
        disabled_ = true;
    }
}

ModalLoop::~ModalLoop() {
    ReleaseOwner();
}

void ModalLoop::ReleaseOwner() {
    if (disabled_) {
        disabled_ = false;
        EnableWindow(owner_, TRUE);
    }
}

bool ModalLoop::Run(HWND window, const std::function<bool()>& done) {
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    const bool quit = !PumpMessages(Pump::Wait, [&] { return done() || !IsWindow(window); });
    ReleaseOwner();
    if (IsWindow(window)) {
        ShowWindow(window, SW_HIDE);
    }
    if (owner_ != nullptr && IsWindow(owner_)) {
        SetActiveWindow(owner_);
    }
    return !quit;
}

bool ModalLoop::PumpUntil(const std::function<bool()>& done, Clock::time_point deadline) {
    using namespace std::chrono;
    const auto left = duration_cast<milliseconds>(deadline - Clock::now()).count();
    // A thread timer, so the waiting pump wakes at the deadline even when
    // nothing else arrives.
    const UINT_PTR timer = SetTimer(
        nullptr, 0, static_cast<UINT>(std::clamp<long long>(left, USER_TIMER_MINIMUM, 0x7FFFFFFF)),
        nullptr);
    const bool ended = PumpMessages(Pump::Wait, [&] { return done() || Clock::now() >= deadline; });
    KillTimer(nullptr, timer);
    return ended;
}

} // namespace qvs::win32
