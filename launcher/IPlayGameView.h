// The parts of the main window that a click on Play Game works on. TfrmMain
// implements it; tests record the calls.
#pragma once

#include <string>

namespace qvs {

class IPlayGameView {
public:
    virtual ~IPlayGameView() = default;

    // Whether lblDownloadingUpdate is visible: an update pass is downloading.
    virtual bool IsDownloadShown() const = 0;
    // The game server's notice in a modal TfrmUpdateNews owned by the main
    // window: caption title, content html through LoadHtml. Pending window
    // messages are processed after it closed. May throw; the caller drops it.
    virtual void ShowNotice(const std::string& title, const std::string& html) = 0;
    // The hourglass pointer over the main window, until the pointer next
    // moves over the background picture.
    virtual void SetHourglassCursor() = 0;
    virtual void DisablePlayGame() = 0;
    // May throw; the caller drops it.
    virtual void PlayClickSound() = 0;
    // Enables the update pass timer; its next tick runs one pass.
    virtual void EnableUpdateTimer() = 0;
};

} // namespace qvs
