// The game server's notice, shown by the main window before Play Game goes on.
#include "launcher/gui/TfrmMain.h"

#include "BrowserTestSupport.h"
#include "support/RecordingPrompts.h"
#include "support/RecordingShell.h"
#include "windows/TfrmUpdateNews.h"

#include <QDialog>
#include <QTimer>

namespace qvs {
namespace {

// Something posted as the notice closes (a click queued behind it, say) is
// handled before ShowNotice returns, not whenever the window next gets to it.
TEST(TfrmMainNotice, MessagesLeftQueuedByTheClosingAreHandledBeforeItReturns) {
    ProcessValues values{"install/"};
    test::RecordingPrompts prompts;
    test::RecordingShell shell;
    TfrmMain main(values, prompts, shell);
    bool handled = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* notice = qobject_cast<TfrmUpdateNews*>(QApplication::activeModalWidget());
        if (notice != nullptr) {
            QMetaObject::invokeMethod(
                &main, [&handled] { handled = true; }, Qt::QueuedConnection);
            notice->done(QDialog::Accepted);
        }
    });
    poll.start(20);
    main.ShowNotice("Notice", "<html><body>Maintenance at 10:00</body></html>");
    EXPECT_TRUE(handled);
}

} // namespace
} // namespace qvs
