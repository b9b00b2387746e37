#include "windows/TfrmUpdateNews.h"

#include "BrowserTestSupport.h"
#include "support/ScriptedServer.h"
#include "support/TempDir.h"

#include <fstream>
#include <string>

namespace qvs {
namespace {

using test::BodyText;
using test::RunScript;
using test::WaitForDocuments;

class TfrmUpdateNewsTest : public ::testing::Test {
protected:
    // Loads text as a notice and waits until the page shows it.
    void LoadNotice(const std::string& text) {
        ASSERT_TRUE(window.LoadHtml(text));
        QSignalSpy shown(window.wb, &TWebBrowser::DocumentComplete);
        ASSERT_TRUE(WaitForDocuments(shown, 1));
    }

    TfrmUpdateNews window{nullptr};
};

TEST_F(TfrmUpdateNewsTest, CaptionIsUpdateNewsUntilANoticeTitleReplacesIt) {
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Update News"));
    window.SetCaption("Server notice: maintenance ");
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Server notice: maintenance "));
}

TEST_F(TfrmUpdateNewsTest, NoticeWithoutLineBreaksIsShown) {
    LoadNotice("<html><body><p id=\"n\">The server restarts at 10:00 for an update.</p>"
               "</body></html>");
    EXPECT_EQ(BodyText(*window.wb), QStringLiteral("The server restarts at 10:00 for an update."));
    EXPECT_EQ(
        RunScript(*window.wb, QStringLiteral("document.getElementById('n').tagName")).toString(),
        QStringLiteral("P"));
}

TEST_F(TfrmUpdateNewsTest, FragmentWithEveryKindOfLineBreakKeepsItsLines) {
    LoadNotice("<pre id=\"p\">first line\rsecond line\nthird line\r\nfourth line</pre>");
    EXPECT_EQ(RunScript(*window.wb, QStringLiteral("document.getElementById('p').textContent"))
                  .toString(),
              QStringLiteral("first line\nsecond line\nthird line\nfourth line"));
}

TEST_F(TfrmUpdateNewsTest, EightBitTextReachesThePageUnchanged) {
    LoadNotice("<html><head><meta charset=\"windows-1252\"></head>"
               "<body>Caf\xe9 \x80 5</body></html>");
    EXPECT_EQ(BodyText(*window.wb), QString::fromUtf8("Caf\u00e9 \u20ac 5"));
}

TEST_F(TfrmUpdateNewsTest, NoticeReplacesAnEarlierOneWithoutWaitingForABlankPage) {
    LoadNotice("<p>old</p>");
    // A document exists now: a stalled blank page must not be waited for.
    test::ScriptedServer stalled({test::ScriptedServer::HoldUntilClientCloses()});
    window.wb->SetBlankPage(QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(stalled.Port())));
    window.SetDocumentWait(std::chrono::milliseconds(1));
    LoadNotice("<p>new</p>");
    EXPECT_EQ(BodyText(*window.wb), QStringLiteral("new"));
}

TEST(TfrmUpdateNewsWait, GivesUpWhenNoFirstDocumentEverComes) {
    test::ScriptedServer stalled({test::ScriptedServer::HoldUntilClientCloses()});
    TfrmUpdateNews window(nullptr);
    window.wb->SetBlankPage(QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(stalled.Port())));
    window.SetDocumentWait(std::chrono::milliseconds(300));
    EXPECT_FALSE(window.LoadHtml("<p>never shown</p>"));
    EXPECT_FALSE(window.wb->HasDocument());
    EXPECT_NE(BodyText(*window.wb), QStringLiteral("never shown"));
}

TEST_F(TfrmUpdateNewsTest, NavigateShowsTheNewsPage) {
    test::TempDir dir;
    std::ofstream(dir.File("update_news.html"), std::ios::binary)
        << "<html><body><h1>Version 42</h1>New maps.</body></html>";
    QSignalSpy loaded(window.wb, &TWebBrowser::DocumentComplete);
    window.Navigate(QUrl::fromLocalFile(QString::fromStdString(dir.File("update_news.html")))
                        .toString()
                        .toStdString());
    ASSERT_TRUE(WaitForDocuments(loaded, 1));
    EXPECT_TRUE(loaded.at(0).at(0).toBool());
    EXPECT_EQ(RunScript(*window.wb, QStringLiteral("document.body.textContent")).toString(),
              QStringLiteral("Version 42New maps."));
}

TEST(TfrmUpdateNewsPlacement, ShowsAt800By480CentredOnItsOwner) {
    QWidget owner;
    owner.setGeometry(50, 60, 600, 450);
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    TfrmUpdateNews window(&owner);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(test::WaitUntil([&] { return window.frameGeometry().size() == QSize(800, 480); }));
    const QPoint offset = window.frameGeometry().center() - owner.frameGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2);
}

} // namespace
} // namespace qvs
