// The main window as the game server status check sees it.
#pragma once

namespace qvs {

class IServerStatusView {
public:
    virtual ~IServerStatusView() = default;

    // Stops the blink timer, hides "Game Server Offline " and starts the
    // timer again, so each attempt blinks from the start.
    virtual void RestartBlinking() = 0;
    // The server answered: the blink timer stops and the label hides.
    virtual void StopBlinking() = 0;
    // Whether the blink timer still runs: the server has not answered.
    virtual bool IsBlinking() const = 0;
    // lblPeopleOnline shows the number; it and lblPeopleOnlineDisp appear.
    virtual void ShowPeopleOnline(int people) = 0;
    // Lets the window handle its pending messages (timers, repaints, clicks).
    virtual void ProcessPendingMessages() = 0;
    // The error report window, modal.
    virtual void ShowErrorReport() = 0;
};

} // namespace qvs
