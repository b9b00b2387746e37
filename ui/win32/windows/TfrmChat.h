// The live chat window: the game's chat page above a 468 x 60 advertisement
// banner that reloads every 25 to 45 seconds. Created for one showing (owned
// by the main window), shown modally, then destroyed. Where no HTML engine
// can be created, or the chat page brings no document in time, the chat
// page opens in the player's default browser and this window never shows.
#pragma once

#include "ui/win32/browser/TWebBrowser.h"
#include "ui/win32/windows/DialogWindow.h"

#include <chrono>
#include <functional>
#include <memory>

namespace qvs {
class IShell;
}

namespace qvs::win32 {

class TfrmChat : public DialogWindow {
public:
    // Next pseudo-random number, 0 to 32767.
    using RandomSource = std::function<int()>;

    // Links that ask for a new window (the banner's) open through shell.
    // Without a random source the window seeds its own generator.
    TfrmChat(HWND owner, IShell& shell, RandomSource random = {});
    ~TfrmChat() override;

    void SetDocumentWait(std::chrono::milliseconds wait) { documentWait_ = wait; }
    TWebBrowser* ChatView() const { return wbChat_.get(); }

    void TimerAdTimer();
    void wbAdvertisementDocumentComplete();
    void FormResize();

protected:
    bool BeforeShow() override;
    void Resized() override;
    bool PreTranslate(MSG& message) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void StartTimerAd(UINT interval);

    IShell& shell_;
    RandomSource random_;
    std::unique_ptr<TWebBrowser> wbChat_;
    std::unique_ptr<TWebBrowser> wbAdvertisement_;
    std::chrono::milliseconds documentWait_ = TWebBrowser::DocumentWait;
};

} // namespace qvs::win32
