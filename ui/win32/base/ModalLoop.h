// A window shown modally over its owner, with the one message pump. Every
// window of the GUI thread goes on receiving messages meanwhile, so the
// owner's timers keep running (as under the main loop); only input to the
// owner is blocked, by disabling it.
#pragma once

#include "ui/win32/base/Win32.h"

#include <chrono>
#include <functional>

namespace qvs::win32 {

class ModalLoop {
public:
    using Clock = std::chrono::steady_clock;

    // Disables the owner (when there is one and it is enabled) until the
    // loop ends or this object goes, whichever comes first.
    explicit ModalLoop(HWND owner);
    ModalLoop(const ModalLoop&) = delete;
    ModalLoop& operator=(const ModalLoop&) = delete;
    ~ModalLoop();

    // Shows the window and pumps messages until done() holds or the window
    // is destroyed. Then enables the owner again before hiding the window
    // (else Windows activates another program's window) and activates it.
    // False when a WM_QUIT ended the loop; it is posted again, so the loops
    // outside end too.
    bool Run(HWND window, const std::function<bool()>& done);

    // Pumps messages until done() holds or the deadline passes, showing
    // nothing. False when a WM_QUIT came (posted again).
    static bool PumpUntil(const std::function<bool()>& done, Clock::time_point deadline);

private:
    void ReleaseOwner();

    HWND owner_;
    bool disabled_ = false;
};

} // namespace qvs::win32
