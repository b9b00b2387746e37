#include "windows/TfrmUpdateNews.h"

#include "BrowserTestSupport.h"
#include "support/ScriptedServer.h"
#include "support/TempDir.h"

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

} // namespace
} // namespace qvs
