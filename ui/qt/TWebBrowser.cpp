#include "ui/qt/TWebBrowser.h"

#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>

namespace qvs {

TWebBrowser::TWebBrowser(QWidget* parent) : QWebEngineView(parent) {
    connect(this, &QWebEngineView::loadFinished, this, [this](bool ok) {
        hasDocument_ = true;
        emit DocumentComplete(ok);
    });
    // Without this the view would silently drop such requests.
    connect(page(), &QWebEnginePage::newWindowRequested, this,
            [this](QWebEngineNewWindowRequest& request) {
                emit NewWindowRequested(request.requestedUrl());
            });
}

void TWebBrowser::Navigate(const QUrl& url) {
    load(url);
}

bool TWebBrowser::WaitForDocument(std::chrono::milliseconds bound) {
    if (hasDocument_) {
        return true;
    }
    const QPointer<TWebBrowser> self(this);
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(this, &TWebBrowser::DocumentComplete, &loop, &QEventLoop::quit);
    connect(this, &QObject::destroyed, &loop, &QEventLoop::quit);
    load(blankPage_);
    limit.start(bound);
    if (!hasDocument_) {
        loop.exec();
    }
    return self && self->hasDocument_;
}

bool TWebBrowser::LoadDocument(const QByteArray& html, std::chrono::milliseconds bound) {
    if (!WaitForDocument(bound)) {
        return false;
    }
    setContent(html, QStringLiteral("text/html"));
    return true;
}

} // namespace qvs
