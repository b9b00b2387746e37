// A window timer: WM_TIMER with its ID reaches the owner window while it
// runs, from any message loop of the thread (modal ones included).
#pragma once

#include "ui/win32/base/Win32.h"

namespace qvs::win32 {

class Timer {
public:
    Timer(UINT_PTR id, UINT intervalMs) : id_(id), interval_(intervalMs) {}
    ~Timer() { Stop(); }
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    // The owner is set once its window exists.
    void SetOwner(HWND owner) { owner_ = owner; }
    void Start() { active_ = owner_ != nullptr && SetTimer(owner_, id_, interval_, nullptr) != 0; }
    void Stop() {
        if (active_) {
            KillTimer(owner_, id_);
            active_ = false;
        }
    }
    bool IsActive() const { return active_; }
    UINT_PTR Id() const { return id_; }

private:
    HWND owner_ = nullptr;
    UINT_PTR id_;
    UINT interval_;
    bool active_ = false;
};

} // namespace qvs::win32
