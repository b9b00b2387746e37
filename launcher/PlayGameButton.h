// What a click on Play Game does: nothing while the game server is offline
// or an update is downloading; otherwise perhaps the game server's notice,
// and then the start of one update pass, which ends in the game launch.
#pragma once

#include "launcher/IPlayGameView.h"
#include "launcher/ProcessValues.h"

namespace qvs {

// The notice modes the game server sends.
enum NoticeModes : int {
    NoticeNone = 0,
    NoticeThenPlay = 1, // the notice, then the update pass
    NoticeOnly = 2,     // the notice, and Play Game stays as it is
};

class PlayGameButton {
public:
    PlayGameButton(IPlayGameView& view, const ProcessValues& values)
        : view_(view), values_(values) {}

    void btnPlayGameClick();

private:
    bool ClickAllowed() const;
    void ShowNotice();
    void StartUpdatePass();

    IPlayGameView& view_;
    const ProcessValues& values_;
};

} // namespace qvs
