#include "launcher/PlayGameButton.h"

#include <exception>

namespace qvs {

bool PlayGameButton::ClickAllowed() const {
    return values_.PlayHelp1 == PlayHelpOnline && !view_.IsDownloadShown();
}

void PlayGameButton::ShowNotice() {
    try {
        view_.ShowNotice(values_.Workers.NoticeTitle, values_.Workers.NoticeHtml);
    } catch (const std::exception&) {
        // The notice is a courtesy; the player can still play.
    }
}

void PlayGameButton::StartUpdatePass() {
    view_.SetHourglassCursor();
    view_.DisablePlayGame();
    try {
        view_.PlayClickSound();
    } catch (const std::exception&) {
    }
    view_.EnableUpdateTimer();
}

void PlayGameButton::btnPlayGameClick() {
    if (!ClickAllowed()) {
        return;
    }
    const std::int32_t mode = values_.Workers.NoticeMode;
    if (mode == NoticeThenPlay || mode == NoticeOnly) {
        ShowNotice();
        if (mode == NoticeOnly) {
            return;
        }
    }
    StartUpdatePass();
}

} // namespace qvs
