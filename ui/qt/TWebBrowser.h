// The embedded web browser view of the launcher's windows: navigation, a
// signal for every completed document, and loading an HTML document without
// a web server.
#pragma once

#include <QByteArray>
#include <QUrl>
#include <QWebEngineView>

#include <chrono>

namespace qvs {

class TWebBrowser : public QWebEngineView {
    Q_OBJECT

public:
    // How long LoadDocument waits for a first document before giving up.
    static constexpr std::chrono::milliseconds DocumentWait{10000};

    explicit TWebBrowser(QWidget* parent = nullptr);

    void Navigate(const QUrl& url);

    // True once any document, "about:blank" included, has finished loading.
    bool HasDocument() const { return hasDocument_; }

    // When no document exists yet, navigates to the blank page and processes
    // events until one has loaded, for at most `bound`. False when none came
    // (or the view was destroyed meanwhile: then touch nothing of it).
    bool WaitForDocument(std::chrono::milliseconds bound);

    // Makes html (bytes as they are) the current document once a document
    // exists. False, and the view left as it was, when none came in time.
    bool LoadDocument(const QByteArray& html, std::chrono::milliseconds bound = DocumentWait);

    // The page loaded to get a first document; "about:blank" unless changed.
    void SetBlankPage(const QUrl& url) { blankPage_ = url; }

signals:
    // Every finished load, failed ones included, as the browser reports them.
    void DocumentComplete(bool ok);
    // A link or script asked for a new browser window (target "_blank").
    void NewWindowRequested(const QUrl& url);

private:
    QUrl blankPage_{QStringLiteral("about:blank")};
    bool hasDocument_ = false;
};

} // namespace qvs
