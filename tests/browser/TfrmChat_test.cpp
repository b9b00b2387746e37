#include "windows/TfrmChat.h"

#include "BrowserTestSupport.h"
#include "BuildSettings.h"
#include "support/RecordingShell.h"

#include <QFrame>
#include <QPlainTextEdit>
#include <QWebEngineSettings>

namespace qvs {
namespace {

using test::WaitForDocuments;
using test::WaitUntil;

TEST(TfrmChatTest, BannerReloadsAfter25To45Seconds) {
    EXPECT_EQ(TfrmChat::AdvertisementInterval(0), 25000);
    EXPECT_EQ(TfrmChat::AdvertisementInterval(19999), 44999);
    EXPECT_EQ(TfrmChat::AdvertisementInterval(20000), 25000);
}

// The chat page loads; the first tick loads "about:blank" and then the
// banner, which is fitted (again on every completion, without creeping),
// re-arms the timer with a new draw once loaded, and opens its sponsor in the
// default browser.
TEST(TfrmChatTest, BannerLoadsFitsReArmsAndOpensTheSponsor) {
    test::RecordingShell shell;
    TfrmChat window(nullptr, &shell, [] { return 19999; });
    QSignalSpy documents(window.wbAdvertisement, &TWebBrowser::DocumentComplete);
    EXPECT_EQ(window.wbChat->page()->requestedUrl(),
              QUrl(QString::fromLatin1(build::GameWebSite) + "/qvschat/phpMyChat.php3"));
    ASSERT_TRUE(WaitForDocuments(documents, 2));
    window.TimerAdTimer();
    EXPECT_FALSE(window.TimerAd.isActive());
    ASSERT_TRUE(WaitForDocuments(documents, 3));
    EXPECT_TRUE(window.TimerAd.isActive());
    EXPECT_EQ(window.TimerAd.interval(), 44999);
    EXPECT_EQ(window.wbAdvertisement->geometry(), QRect(-12, -17, 518, 110));

    // A script's click stands in for the player's: allow it to open windows.
    window.wbAdvertisement->settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows,
                                                     true);
    test::RunScript(*window.wbAdvertisement, QStringLiteral("document.querySelector('a').click()"));
    ASSERT_TRUE(WaitUntil([&] { return !shell.urls.empty(); }));
    EXPECT_EQ(QString::fromStdString(shell.urls.front()),
              QStringLiteral("%1?host=%2&size=468x60&b=indexpage&v=0")
                  .arg(QString::fromLatin1(build::AdClickUrl), QString::fromLatin1(build::AdHost)));
}

// Shown at 742 x 581 centred on its owner, with the banner panel centred at
// any width ((401 - 468) / 2 is -33, not -34). A completed banner hands the
// focus back to the chat, unless the window is hidden.
TEST(TfrmChatTest, PlacedOnItsOwnerWithTheBannerCentredAndTheFocusOnTheChat) {
    QWidget owner;
    owner.setGeometry(70, 40, 600, 450);
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    TfrmChat window(&owner);
    window.memAdvertisement->show();
    window.memAdvertisement->setFocus();
    window.wbAdvertisementDocumentComplete();
    EXPECT_EQ(window.focusWidget(), window.memAdvertisement);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(WaitUntil([&] { return window.frameGeometry().size() == QSize(742, 581); }));
    const QPoint offset = window.frameGeometry().center() - owner.frameGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2);
    EXPECT_EQ(window.Panel1->geometry(), QRect(0, window.height() - 60, window.width(), 60));
    window.resize(401, 400);
    ASSERT_TRUE(WaitUntil([&] { return window.width() == 401; }));
    EXPECT_EQ(window.pnlAdvertisement->geometry(), QRect(-33, 0, 468, 60));

    window.memAdvertisement->setFocus();
    ASSERT_EQ(window.focusWidget(), window.memAdvertisement);
    window.wbAdvertisementDocumentComplete();
    EXPECT_TRUE(window.focusWidget() == window.wbChat ||
                window.wbChat->isAncestorOf(window.focusWidget()));
}

} // namespace
} // namespace qvs
