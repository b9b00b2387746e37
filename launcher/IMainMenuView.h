// The parts of the main window that the menu buttons work on. TfrmMain
// implements it with its controls; tests record the calls.
#pragma once

#include "launcher/HelpText.h"

namespace qvs {

class IMainMenuView {
public:
    virtual ~IMainMenuView() = default;

    // The highlight picture of the button with this Tag (1 to 9).
    virtual void ShowHighlight(int tag, bool visible) = 0;
    // imgStatus, the panel behind the help lines and the download display.
    virtual void ShowStatusPanel(bool visible) = 0;
    // Whether lblDownloadingUpdate is visible: a download is on display.
    virtual bool IsDownloadShown() const = 0;
    // Captions of lblHelp1 to lblHelp4.
    virtual void SetHelpLines(const HelpLines& lines) = 0;
    virtual void ShowHelpLines(bool visible) = 0;
    // lblCurrentUpdate, lblOf and lblNumUpdates.
    virtual void ShowDownloadCounters(bool visible) = 0;
    // The pointer of the whole window: the hand, or the default arrow.
    virtual void SetHandPointer(bool hand) = 0;
    // The font colour of the three forgotten-login labels: red or lime.
    virtual void SetForgotLabelsRed(bool red) = 0;

    // Plays the click sound; never fails.
    virtual void PlayClickSound() = 0;
    // The live chat window, modal; a fresh one each time.
    virtual void ShowLiveChat() = 0;
    // The troubleshooting window, modal; true when it closed with "OK".
    virtual bool ShowProblems() = 0;
    // Closes the main window, which ends the message loop.
    virtual void CloseMainWindow() = 0;
    // Ends the process at once: no window is closed, nothing is waited for.
    virtual void EndProcess(int exitCode) = 0;
};

} // namespace qvs
