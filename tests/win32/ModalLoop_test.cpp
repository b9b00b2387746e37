// A modal window over an owner, run by the one pump: the owner's timers keep
// firing, its input is blocked only while the loop runs, and a WM_QUIT ends
// the modal loop and then the loop outside it.
#include "ui/win32/base/MessagePump.h"
#include "ui/win32/base/ModalLoop.h"

#include <gtest/gtest.h>

namespace qvs::win32 {
namespace {

// What the owner's timer saw while the modal window ran.
struct OwnerTicks {
    int ticks = 0;
    int quitAtTick = 0; // 0: never
    bool enabledDuringLoop = true;
    HWND modal = nullptr;
    bool modalVisible = false;
};

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) {
        auto& seen = *reinterpret_cast<OwnerTicks*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        ++seen.ticks;
        seen.enabledDuringLoop = seen.enabledDuringLoop && IsWindowEnabled(window);
        seen.modalVisible = IsWindowVisible(seen.modal) != FALSE;
        if (seen.ticks == seen.quitAtTick) {
            PostQuitMessage(7);
        }
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND TopLevel(const wchar_t* title, HWND owner) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = OwnerProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"QvsModalLoopTest";
    RegisterClassW(&windowClass);
    return CreateWindowExW(0, windowClass.lpszClassName, title, WS_OVERLAPPEDWINDOW, 10, 10, 200,
                           100, owner, nullptr, windowClass.hInstance, nullptr);
}

struct ModalCase {
    const char* name;
    bool ownerEnabled; // before the loop
    int quitAtTick;
    bool runReturns;
    bool ownerEnabledAfter;
};

class ModalLoopTest : public ::testing::TestWithParam<ModalCase> {};

TEST_P(ModalLoopTest, OwnerTimersRunAndOwnerComesBack) {
    const ModalCase& row = GetParam();
    const HWND owner = TopLevel(L"owner", nullptr);
    const HWND modal = TopLevel(L"modal", owner);
    OwnerTicks seen;
    seen.quitAtTick = row.quitAtTick;
    seen.modal = modal;
    SetWindowLongPtrW(owner, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&seen));
    ShowWindow(owner, SW_SHOW);
    EnableWindow(owner, row.ownerEnabled);
    SetTimer(owner, 1, 10, nullptr);

    bool ran = false;
    {
        ModalLoop loop(owner);
        EXPECT_FALSE(IsWindowEnabled(owner));
        ran = loop.Run(modal, [&seen] { return seen.ticks >= 3; });
        EXPECT_EQ(IsWindowEnabled(owner) != FALSE, row.ownerEnabledAfter) << row.name;
    }
    EXPECT_EQ(ran, row.runReturns) << row.name;
    EXPECT_GE(seen.ticks, row.quitAtTick > 0 ? row.quitAtTick : 3) << row.name;
    EXPECT_FALSE(seen.enabledDuringLoop) << row.name;
    EXPECT_TRUE(seen.modalVisible) << row.name;
    EXPECT_FALSE(IsWindowVisible(modal)) << row.name;
    EXPECT_EQ(IsWindowEnabled(owner) != FALSE, row.ownerEnabledAfter) << row.name;
    if (row.ownerEnabledAfter) {
        EXPECT_EQ(GetActiveWindow(), owner) << row.name;
    }
    // The quit goes on to the loop outside, which ends at once with it.
    const bool outerRan = PumpMessages(Pump::Wait, [&seen] { return seen.ticks >= 6; });
    EXPECT_EQ(outerRan, row.quitAtTick == 0) << row.name;
    MSG quit{};
    EXPECT_EQ(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE,
              row.quitAtTick > 0)
        << row.name;
    if (row.quitAtTick > 0) {
        EXPECT_EQ(quit.wParam, 7u);
    }
    KillTimer(owner, 1);
    DestroyWindow(modal);
    DestroyWindow(owner);
}

INSTANTIATE_TEST_SUITE_P(Rows, ModalLoopTest,
                         ::testing::Values(ModalCase{"enabled owner", true, 0, true, true},
                                           ModalCase{"owner disabled before stays so", false, 0,
                                                     true, false},
                                           ModalCase{"quit inside", true, 1, false, true}),
                         [](const auto& info) { return std::to_string(info.index); });

} // namespace
} // namespace qvs::win32
