// The live chat window: the game's chat page above a 468 x 60 advertisement
// banner that reloads every 25 to 45 seconds. Created for one showing (owned
// by the main window), shown modally, then destroyed.
#pragma once

#include "launcher/IShell.h"
#include "ui/qt/HandlerGuard.h"

#include <QDialog>
#include <QTimer>

#include <functional>

class QFrame;
class QPlainTextEdit;

namespace qvs {

class TWebBrowser;

class TfrmChat : public QDialog {
    Q_OBJECT

public:
    // Next pseudo-random number, 0 to 32767.
    using RandomSource = std::function<int()>;

    // Links that ask for a new window (the banner's) open through shell;
    // without one they are ignored. Without a random source the window
    // seeds its own generator.
    explicit TfrmChat(QWidget* owner, IShell* shell = nullptr, RandomSource random = {});

    void TimerAdTimer();
    void wbAdvertisementDocumentComplete();
    void FormResize();

    TWebBrowser* wbChat = nullptr;
    QFrame* pnlAdvertisement = nullptr;
    TWebBrowser* wbAdvertisement = nullptr;
    QPlainTextEdit* memAdvertisement = nullptr;
    QTimer TimerAd;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

private:
    void OpenNewWindow(const QUrl& url);

    IShell* shell_;
    RandomSource random_;
    bool placed_ = false;
    HandlerGuard guard_; // errors are logged: the window is modal
};

} // namespace qvs
