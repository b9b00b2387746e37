// The live chat window: the game's chat page above a 468 x 60 advertisement
// banner that reloads every 25 to 45 seconds. Created for one showing (owned
// by the main window), shown modally, then destroyed.
#pragma once

#include "launcher/IShell.h"
#include "windows/HandlerGuard.h"

#include <QDialog>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>

class QFrame;
class QPlainTextEdit;

namespace Ui {
class TfrmChat;
}

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
    ~TfrmChat() override;

    // The game's web site address followed by the chat page's path.
    static QString ChatPage();
    // The banner document's lines, as the hidden memo holds them.
    static QStringList AdvertisementLines();
    // The banner's reload interval for a random number r (0 to 32767).
    static int AdvertisementInterval(int r) { return 25000 + r % 20000; }

    void TimerAdTimer();
    void wbAdvertisementDocumentComplete();
    void FormResize();

    TWebBrowser* wbChat = nullptr;
    QFrame* Panel1 = nullptr;
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

    std::unique_ptr<Ui::TfrmChat> ui_;
    IShell* shell_;
    RandomSource random_;
    bool placed_ = false;
    HandlerGuard guard_; // errors are logged: the window is modal
};

} // namespace qvs
