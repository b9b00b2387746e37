#include "ui/qt/TfrmChat.h"

#include "BrowserTestSupport.h"
#include "BuildSettings.h"
#include "support/RecordingShell.h"

#include <QFrame>
#include <QPlainTextEdit>
#include <QWebEngineSettings>

namespace qvs {
namespace {

using test::WaitUntil;

// The chat page loads; the first tick loads "about:blank" and then the
// banner, which is fitted (again on every completion, without creeping) and
// re-arms the timer with a new draw of 25 to 45 s; a click on it opens the
// sponsor in the default browser. A completed banner hands the focus back to
// the chat, unless the window is hidden. Shown at 742 x 581 centred on its
// owner, with the banner panel centred at any width ((401 - 468) / 2 is -33,
// not -34).
TEST(TfrmChatTest, BannerReloadsAndTheWindowIsPlacedOnItsOwner) {
    QWidget owner;
    owner.setGeometry(70, 40, 600, 450);
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    test::RecordingShell shell;
    TfrmChat window(&owner, &shell, [] { return 39999; });
    QSignalSpy documents(window.wbAdvertisement, &TWebBrowser::DocumentComplete);
    EXPECT_EQ(window.wbChat->page()->requestedUrl(),
              QUrl(QString::fromLatin1(build::GameWebSite) + "/qvschat/phpMyChat.php3"));
    ASSERT_TRUE(WaitUntil([&documents] { return documents.count() >= 2; }));
    window.TimerAdTimer();
    EXPECT_FALSE(window.TimerAd.isActive());
    ASSERT_TRUE(WaitUntil([&documents] { return documents.count() >= 3; }));
    EXPECT_TRUE(window.TimerAd.isActive());
    EXPECT_EQ(window.TimerAd.interval(), 44999); // 25 s and the draw modulo 20 s
    window.memAdvertisement->show();
    window.memAdvertisement->setFocus();
    window.wbAdvertisementDocumentComplete();
    EXPECT_EQ(window.focusWidget(), window.memAdvertisement);
    EXPECT_EQ(window.wbAdvertisement->geometry(), QRect(-12, -17, 518, 110));

    // A script's click stands in for the player's: allow it to open windows.
    window.wbAdvertisement->settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows,
                                                     true);
    test::RunScript(*window.wbAdvertisement, QStringLiteral("document.querySelector('a').click()"));
    ASSERT_TRUE(WaitUntil([&shell] { return !shell.urls.empty(); }));
    EXPECT_EQ(QString::fromStdString(shell.urls.front()),
              QStringLiteral("%1?host=%2&size=468x60&b=indexpage&v=0")
                  .arg(QString::fromLatin1(build::AdClickUrl), QString::fromLatin1(build::AdHost)));

    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    // The X server reports the move after the resize: wait for both.
    const auto offset = [&] {
        return (window.frameGeometry().center() - owner.frameGeometry().center()).manhattanLength();
    };
    EXPECT_TRUE(WaitUntil([&] {
        return window.frameGeometry().size() == QSize(742, 581) && offset() <= 2;
    })) << offset();
    window.resize(401, 400);
    ASSERT_TRUE(WaitUntil([&window] { return window.width() == 401; }));
    EXPECT_EQ(window.pnlAdvertisement->geometry(), QRect(-33, 0, 468, 60));
    window.memAdvertisement->setFocus();
    ASSERT_EQ(window.focusWidget(), window.memAdvertisement);
    window.wbAdvertisementDocumentComplete();
    EXPECT_TRUE(window.focusWidget() == window.wbChat ||
                window.wbChat->isAncestorOf(window.focusWidget()));
}

} // namespace
} // namespace qvs
