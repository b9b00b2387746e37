#include "ui/qt/TfrmUpdateNews.h"

#include "BrowserTestSupport.h"
#include "support/RecordingPrompts.h"
#include "support/RecordingShell.h"
#include "support/ScriptedServer.h"
#include "support/TempDir.h"
#include "ui/qt/TfrmMain.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <fstream>
#include <string>

namespace qvs {
namespace {

// With a stalled blank page a notice gives up while there is no document
// yet; the news page loads; then a notice's bytes reach the page unchanged,
// without waiting for the blank page.
TEST(TfrmUpdateNewsTest, ShowsTheNewsPageAndNotices) {
    test::ScriptedServer stalled({test::ScriptedServer::Hold()});
    TfrmUpdateNews window(nullptr);
    window.wb->SetBlankPage(QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(stalled.Port())));
    window.SetDocumentWait(std::chrono::milliseconds(300));
    EXPECT_FALSE(window.LoadHtml("<p>never shown</p>"));
    EXPECT_FALSE(window.wb->HasDocument());

    test::TempDir dir;
    std::ofstream(dir.File("update_news.html"), std::ios::binary)
        << "<html><body><h1>Version 42</h1>New maps.</body></html>";
    QSignalSpy loaded(window.wb, &TWebBrowser::DocumentComplete);
    const auto text = [&window] {
        return test::RunScript(*window.wb, QStringLiteral("document.body.textContent")).toString();
    };
    window.Navigate(QUrl::fromLocalFile(QString::fromStdString(dir.File("update_news.html")))
                        .toString()
                        .toStdString());
    ASSERT_TRUE(test::WaitUntil([&loaded] { return loaded.count() >= 1; }));
    EXPECT_TRUE(loaded.at(0).at(0).toBool());
    EXPECT_EQ(text().trimmed(), QStringLiteral("Version 42New maps."));

    window.SetDocumentWait(std::chrono::milliseconds(1));
    ASSERT_TRUE(window.LoadHtml("<html><head><meta charset=\"windows-1252\"></head>"
                                "<body>Caf\xe9 \x80 5</body></html>"));
    ASSERT_TRUE(test::WaitUntil([&loaded] { return loaded.count() >= 2; }));
    EXPECT_EQ(text().trimmed(), QString::fromUtf8("Caf\u00e9 \u20ac 5"));
}

// Shown by the main window as the game server's notice: something posted as
// the notice closes (a click queued behind it, say) is handled before
// ShowNotice returns, not whenever the window next gets to it.
TEST(TfrmUpdateNewsTest, MessagesLeftQueuedByTheClosingNoticeAreHandledBeforeItReturns) {
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
