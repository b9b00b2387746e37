// The update news window: the update news page of the update web host, or
// the notice that the game server sends, in a browser view. Created for one
// showing (owned by the main window), shown modally, then destroyed. Where
// no HTML engine can be created, or no document arrives in time, the page
// opens in the player's default browser instead and this window never shows.
#pragma once

#include "ui/win32/browser/TWebBrowser.h"
#include "ui/win32/windows/DialogWindow.h"

#include <chrono>
#include <memory>
#include <string>

namespace qvs {
class IShell;
}

namespace qvs::win32 {

class TfrmUpdateNews : public DialogWindow {
public:
    // Links that ask for a new window open through shell.
    TfrmUpdateNews(HWND owner, IShell& shell);
    ~TfrmUpdateNews() override;

    // The caption: "Update News" until a notice title replaces it.
    void SetCaption(const std::string& caption);
    void Navigate(const std::string& url);
    // Shows text (an HTML document or fragment, 8-bit) as the current
    // document, each of its lines ended by CR LF. False when the view had no
    // document and none came within the wait, or there is no view.
    bool LoadHtml(const std::string& text);
    // How long the window waits for the view's first document.
    void SetDocumentWait(std::chrono::milliseconds wait) { documentWait_ = wait; }
    // Null where no HTML engine could be created.
    TWebBrowser* Browser() const { return wb_.get(); }

protected:
    bool BeforeShow() override;
    void Resized() override;
    bool PreTranslate(MSG& message) override;

private:
    void OpenInDefaultBrowser();

    IShell& shell_;
    std::unique_ptr<TWebBrowser> wb_;
    std::string url_;
    std::string html_;
    std::chrono::milliseconds documentWait_ = TWebBrowser::DocumentWait;
};

} // namespace qvs::win32
