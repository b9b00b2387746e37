// The one message pump of the front end: the main loop, every modal loop and
// "process pending messages" all run through it, so keys reach a browser
// view, dialog keys work and timers fire the same way everywhere.
#pragma once

#include "ui/win32/base/Win32.h"

#include <functional>

namespace qvs::win32 {

// Sent to the top-level window a message is for, before it is translated;
// LPARAM is the MSG*. A window that handled the message (a key for its
// browser view, a dialog key) returns nonzero and it goes no further.
inline constexpr UINT WM_QVS_PRETRANSLATE = WM_APP + 0x100;

enum class Pump {
    Pending, // handle what is queued now, then return
    Wait,    // block for messages until done() says so
};

// Returns false when WM_QUIT arrived; it is posted again so that every
// enclosing loop ends too. done is asked after each message (and before
// waiting); empty means never.
bool PumpMessages(Pump mode, const std::function<bool()>& done = {});

} // namespace qvs::win32
