#include "windows/TfrmChat.h"

#include "BrowserTestSupport.h"
#include "BuildSettings.h"
#include "support/RecordingShell.h"

#include <QFrame>
#include <QPlainTextEdit>
#include <QWebEngineSettings>

#include <vector>

namespace qvs {
namespace {

using test::RunScript;
using test::WaitForDocuments;
using test::WaitUntil;

const QRect FittedBanner(-12, -17, 518, 110);

TEST(TfrmChatInterval, BannerReloadsAfter25To45Seconds) {
    const std::vector<std::pair<int, int>> cases = {
        {0, 25000}, {1, 25001}, {19999, 44999}, {20000, 25000}, {32767, 37767}};
    for (const auto& [r, interval] : cases) {
        EXPECT_EQ(TfrmChat::AdvertisementInterval(r), interval) << r;
    }
}

class TfrmChatTest : public ::testing::Test {
protected:
    // Draws come from a fixed list, in turn, and are counted.
    int NextRandom() { return draws[static_cast<std::size_t>(drawCount++) % draws.size()]; }

    // The first timer tick loads "about:blank" and then the banner: two documents.
    void WaitForBanner() { ASSERT_TRUE(WaitForDocuments(adDocuments, 2)); }

    test::RecordingShell shell;
    std::vector<int> draws{19999, 32767, 0};
    int drawCount = 0;
    TfrmChat window{nullptr, &shell, [this] { return NextRandom(); }};
    // From the start: showing the window runs events, and with them the first tick.
    QSignalSpy adDocuments{window.wbAdvertisement, &TWebBrowser::DocumentComplete};
};

TEST_F(TfrmChatTest, StartsWithTheChatPageAndAOneMillisecondBannerTimer) {
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Quorvash Live Chat"));
    EXPECT_EQ(
        window.wbChat->page()->requestedUrl(),
        QUrl(QString::fromLatin1(build::GameWebSite) + QStringLiteral("/qvschat/phpMyChat.php3")));
    EXPECT_TRUE(window.TimerAd.isActive());
    EXPECT_EQ(window.TimerAd.interval(), 1);
    EXPECT_TRUE(window.memAdvertisement->isHidden());
    EXPECT_EQ(window.pnlAdvertisement->geometry(), QRect(133, 0, 468, 60));
    EXPECT_EQ(window.wbAdvertisement->geometry(), QRect(0, 0, 468, 60));
}

TEST_F(TfrmChatTest, MemoHoldsTheBannerAsThreeLines) {
    const QStringList lines = window.memAdvertisement->toPlainText().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("<script")));
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral("</script>")));
    EXPECT_TRUE(lines[1].isEmpty());
    EXPECT_TRUE(lines[2].contains(QStringLiteral("alt=\"Click here to visit our sponsor\"")));
}

TEST_F(TfrmChatTest, BannerLoadsOnTheFirstTickAndTheTimerIsReArmedInRange) {
    WaitForBanner();
    EXPECT_GE(drawCount, 2);
    EXPECT_TRUE(window.TimerAd.isActive());
    EXPECT_EQ(window.TimerAd.interval(),
              TfrmChat::AdvertisementInterval(
                  draws[static_cast<std::size_t>(drawCount - 1) % draws.size()]));
    EXPECT_GE(window.TimerAd.interval(), 25000);
    EXPECT_LT(window.TimerAd.interval(), 45000);

    const QString link = QStringLiteral("(function(){var a=document.querySelector('a');"
                                        "return a.target+' '+a.href+' '+a.firstChild.alt;})()");
    const QString expected =
        QStringLiteral("_blank %1?host=%2&size=468x60&b=indexpage&v=0 "
                       "Click here to visit our sponsor")
            .arg(QString::fromLatin1(build::AdClickUrl), QString::fromLatin1(build::AdHost));
    EXPECT_EQ(RunScript(*window.wbAdvertisement, link).toString(), expected);
    EXPECT_EQ(
        RunScript(*window.wbAdvertisement,
                  QStringLiteral("typeof document.oncontextmenu + typeof document.onmousedown"))
            .toString(),
        QStringLiteral("functionfunction"));
}

TEST_F(TfrmChatTest, EveryCompletedDocumentFitsTheBannerAgainWithoutCreeping) {
    WaitForBanner();
    EXPECT_EQ(window.wbAdvertisement->geometry(), FittedBanner);
    window.wbAdvertisementDocumentComplete();
    window.wbAdvertisementDocumentComplete();
    EXPECT_EQ(window.wbAdvertisement->geometry(), FittedBanner);
}

TEST_F(TfrmChatTest, TimerTickStopsTheTimerUntilTheNextDocumentCompletes) {
    WaitForBanner();
    const int before = drawCount;
    QSignalSpy completed(window.wbAdvertisement, &TWebBrowser::DocumentComplete);
    window.TimerAdTimer();
    EXPECT_FALSE(window.TimerAd.isActive());
    ASSERT_TRUE(WaitForDocuments(completed, 1));
    EXPECT_EQ(drawCount, before + 1);
    EXPECT_TRUE(window.TimerAd.isActive());
    EXPECT_EQ(window.wbAdvertisement->geometry(), FittedBanner);
}

TEST_F(TfrmChatTest, CompletedBannerHandsTheFocusBackToTheChat) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.memAdvertisement->show();
    window.memAdvertisement->setFocus();
    ASSERT_EQ(window.focusWidget(), window.memAdvertisement);
    window.wbAdvertisementDocumentComplete();
    QWidget* focus = window.focusWidget();
    EXPECT_TRUE(focus == window.wbChat || window.wbChat->isAncestorOf(focus));
}

TEST_F(TfrmChatTest, HiddenWindowLeavesTheFocusAlone) {
    window.memAdvertisement->show();
    window.memAdvertisement->setFocus();
    window.wbAdvertisementDocumentComplete();
    EXPECT_EQ(window.focusWidget(), window.memAdvertisement);
}

TEST_F(TfrmChatTest, BannerPanelStaysCentredWhenResized) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    // Odd widths check the truncating division; 401 puts the panel left of
    // the window's edge: (401 - 468) / 2 is -33, not -34.
    for (const auto& [width, left] :
         std::vector<std::pair<int, int>>{{1001, 266}, {742, 137}, {401, -33}}) {
        window.resize(width, 400);
        ASSERT_TRUE(WaitUntil([&] { return window.width() == width; })) << width;
        EXPECT_EQ(window.pnlAdvertisement->x(), left) << width;
        EXPECT_EQ(window.pnlAdvertisement->size(), QSize(468, 60)) << width;
    }
}

TEST(TfrmChatPlacement, ShowsAt742By581CentredOnItsOwner) {
    QWidget owner;
    owner.setGeometry(70, 40, 600, 450);
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    TfrmChat window(&owner);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(WaitUntil([&] { return window.frameGeometry().size() == QSize(742, 581); }));
    const QPoint offset = window.frameGeometry().center() - owner.frameGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2);
    EXPECT_EQ(window.Panel1->geometry(), QRect(0, window.height() - 60, window.width(), 60));
}

TEST_F(TfrmChatTest, BannerLinkOpensTheSponsorInTheDefaultBrowser) {
    WaitForBanner();
    // A script's click stands in for the player's: allow it to open windows.
    window.wbAdvertisement->settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows,
                                                     true);
    RunScript(*window.wbAdvertisement, QStringLiteral("document.querySelector('a').click()"));
    ASSERT_TRUE(WaitUntil([&] { return !shell.urls.empty(); }));
    EXPECT_EQ(QString::fromStdString(shell.urls.front()),
              QStringLiteral("%1?host=%2&size=468x60&b=indexpage&v=0")
                  .arg(QString::fromLatin1(build::AdClickUrl), QString::fromLatin1(build::AdHost)));
}

} // namespace
} // namespace qvs
