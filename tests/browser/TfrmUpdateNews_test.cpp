#include "windows/TfrmUpdateNews.h"

#include "BrowserTestSupport.h"
#include "support/ScriptedServer.h"
#include "support/TempDir.h"

#include <fstream>
#include <string>

namespace qvs {
namespace {

using test::RunScript;
using test::WaitForDocuments;

QString Text(TfrmUpdateNews& window) {
    return RunScript(*window.wb, QStringLiteral("document.body.textContent")).toString().trimmed();
}

// The news page loads; a notice's bytes reach the page unchanged, under its
// own title, without waiting for a (here stalled) blank page once a
// document is there.
TEST(TfrmUpdateNewsTest, ShowsTheNewsPageAndNotices) {
    test::TempDir dir;
    std::ofstream(dir.File("update_news.html"), std::ios::binary)
        << "<html><body><h1>Version 42</h1>New maps.</body></html>";
    TfrmUpdateNews window(nullptr);
    QSignalSpy loaded(window.wb, &TWebBrowser::DocumentComplete);
    window.Navigate(QUrl::fromLocalFile(QString::fromStdString(dir.File("update_news.html")))
                        .toString()
                        .toStdString());
    ASSERT_TRUE(WaitForDocuments(loaded, 1));
    EXPECT_TRUE(loaded.at(0).at(0).toBool());
    EXPECT_EQ(Text(window), QStringLiteral("Version 42New maps."));

    EXPECT_EQ(window.windowTitle(), QStringLiteral("Update News"));
    window.SetCaption("Server notice: maintenance ");
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Server notice: maintenance "));
    test::ScriptedServer stalled({test::ScriptedServer::HoldUntilClientCloses()});
    window.wb->SetBlankPage(QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(stalled.Port())));
    window.SetDocumentWait(std::chrono::milliseconds(1));
    ASSERT_TRUE(window.LoadHtml("<html><head><meta charset=\"windows-1252\"></head>"
                                "<body>Caf\xe9 \x80 5</body></html>"));
    ASSERT_TRUE(WaitForDocuments(loaded, 2));
    EXPECT_EQ(Text(window), QString::fromUtf8("Caf\u00e9 \u20ac 5"));
}

TEST(TfrmUpdateNewsTest, GivesUpWhenNoFirstDocumentEverComes) {
    test::ScriptedServer stalled({test::ScriptedServer::HoldUntilClientCloses()});
    TfrmUpdateNews window(nullptr);
    window.wb->SetBlankPage(QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(stalled.Port())));
    window.SetDocumentWait(std::chrono::milliseconds(300));
    EXPECT_FALSE(window.LoadHtml("<p>never shown</p>"));
    EXPECT_FALSE(window.wb->HasDocument());
    EXPECT_NE(Text(window), QStringLiteral("never shown"));
}

} // namespace
} // namespace qvs
