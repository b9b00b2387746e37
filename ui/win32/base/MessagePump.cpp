#include "ui/win32/base/MessagePump.h"

namespace qvs::win32 {

namespace {

void Deliver(MSG& message) {
    const HWND root = message.hwnd != nullptr ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (root != nullptr &&
        SendMessageW(root, WM_QVS_PRETRANSLATE, 0, reinterpret_cast<LPARAM>(&message)) != 0) {
        return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

} // namespace

bool PumpMessages(Pump mode, const std::function<bool()>& done) {
    MSG message{};
    for (;;) {
        if (done && done()) {
            return true;
        }
        if (mode == Pump::Pending) {
            if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                return true;
            }
        } else if (GetMessageW(&message, nullptr, 0, 0) <= 0) {
            message.message = WM_QUIT;
        }
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        Deliver(message);
    }
}

} // namespace qvs::win32
