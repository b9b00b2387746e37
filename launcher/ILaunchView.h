// The parts of the main window that the game launch works on. TfrmMain
// implements it; tests record the calls.
#pragma once

#include <chrono>

namespace qvs {

class ILaunchView {
public:
    virtual ~ILaunchView() = default;

    // Enables btnPlayGame again (the player may try once more).
    virtual void EnablePlayGame() = 0;
    // Blocks the caller for the given time while the Java client starts.
    // The window may repaint but takes no clicks or keys meanwhile.
    virtual void WaitWithoutInput(std::chrono::milliseconds duration) = 0;
    // Closes the main window, which ends the message loop and the launcher.
    virtual void CloseMainWindow() = 0;
};

} // namespace qvs
