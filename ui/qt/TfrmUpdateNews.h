// The update news window: the update news page of the update web host, or
// the notice that the game server sends, in a browser view. Created for one
// showing (owned by the main window), shown modally, then destroyed.
#pragma once

#include "launcher/IShell.h"
#include "ui/qt/HandlerGuard.h"

#include <QDialog>

#include <chrono>
#include <string>

namespace qvs {

class TWebBrowser;

class TfrmUpdateNews : public QDialog {
    Q_OBJECT

public:
    // Links that ask for a new window open through shell; without one they
    // are ignored.
    explicit TfrmUpdateNews(QWidget* owner, IShell* shell = nullptr);

    // The caption: "Update News" until a notice title replaces it.
    void SetCaption(const std::string& caption);
    void Navigate(const std::string& url);
    // Shows text (an HTML document or fragment, 8-bit) as the current
    // document, each of its lines ended by CR LF. False when the view had no
    // document and none came within the wait; the view then stays as it was.
    bool LoadHtml(const std::string& text);
    // How long LoadHtml waits for the view's first document.
    void SetDocumentWait(std::chrono::milliseconds wait) { documentWait_ = wait; }

    TWebBrowser* wb = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

private:
    IShell* shell_;
    std::chrono::milliseconds documentWait_;
    bool placed_ = false;
    HandlerGuard guard_; // errors are logged: the window is modal
};

} // namespace qvs
