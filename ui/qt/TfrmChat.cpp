#include "ui/qt/TfrmChat.h"

#include "launcher/ChatBanner.h"
#include "ui/qt/HtmlDocument.h"
#include "ui/qt/TWebBrowser.h"
#include "ui/qt/WindowBuilder.h"
#include "ui/qt/WindowPlacement.h"

#include <QFrame>
#include <QPlainTextEdit>
#include <QShowEvent>
#include <QUrl>

#include <memory>
#include <random>

namespace qvs {

namespace {

TfrmChat::RandomSource OwnGenerator() {
    auto engine = std::make_shared<std::minstd_rand>(std::random_device{}());
    return [engine] { return std::uniform_int_distribution<int>(0, 32767)(*engine); };
}

} // namespace

TfrmChat::TfrmChat(QWidget* owner, IShell* shell, RandomSource random)
    : QDialog(owner, WindowFlagsOf(ui::ChatWindowTable())), shell_(shell),
      random_(random ? std::move(random) : OwnGenerator()) {
    // Qt paints every widget double-buffered already.
    BuildWindow(*this, ui::ChatWindowTable());
    wbChat = Find<TWebBrowser>(*this, "wbChat");
    pnlAdvertisement = Find<QFrame>(*this, "pnlAdvertisement");
    wbAdvertisement = Find<TWebBrowser>(*this, "wbAdvertisement");
    memAdvertisement = Find<QPlainTextEdit>(*this, "memAdvertisement");

    connect(wbAdvertisement, &TWebBrowser::DocumentComplete, this,
            guard_.Slot([this] { wbAdvertisementDocumentComplete(); }));
    for (TWebBrowser* view : {wbAdvertisement, wbChat}) {
        connect(view, &TWebBrowser::NewWindowRequested, this,
                [this](const QUrl& url) { guard_.Run([this, &url] { OpenNewWindow(url); }); });
    }
    connect(&TimerAd, &QTimer::timeout, this, guard_.Slot([this] { TimerAdTimer(); }));
    const ui::TimerSpec& timer = ui::LookupTimer(ui::ChatWindowTable(), "TimerAd");
    TimerAd.setInterval(timer.interval);
    if (timer.enabled) {
        TimerAd.start();
    }

    wbChat->Navigate(QUrl(QString::fromStdString(ChatPage())));
}

void TfrmChat::TimerAdTimer() {
    TimerAd.stop();
    const QByteArray memoText = memAdvertisement->toPlainText().toLocal8Bit();
    // The wait for a first document runs events: this window may be gone after it.
    wbAdvertisement->LoadDocument(HtmlDocument(std::string_view(memoText.data(), memoText.size())));
}

void TfrmChat::wbAdvertisementDocumentComplete() {
    // Fit again first, so that repeated completions do not shift it further.
    const ui::Rect fit = ui::Lookup(ui::ChatWindowTable(), "wbAdvertisement").bounds;
    wbAdvertisement->setGeometry(fit.x, fit.y, fit.width, fit.height);
    wbAdvertisement->setGeometry(BannerViewLeft, BannerViewTop, fit.width + BannerViewGrowth,
                                 fit.height + BannerViewGrowth);
    TimerAd.setInterval(AdvertisementInterval(random_()));
    TimerAd.start();
    if (isVisible()) {
        wbChat->setFocus();
    }
}

void TfrmChat::FormResize() {
    pnlAdvertisement->move(BannerPanelLeft(width(), pnlAdvertisement->width()),
                           pnlAdvertisement->y());
}

void TfrmChat::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    FormResize();
}

void TfrmChat::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!placed_) {
        placed_ = true;
        const ui::WindowSpec& table = ui::ChatWindowTable();
        PlaceOnOwner(*this, QSize(table.width, table.height));
    }
}

bool TfrmChat::event(QEvent* event) {
    return guard_.Event([this, event] { return QDialog::event(event); });
}

void TfrmChat::OpenNewWindow(const QUrl& url) {
    if (shell_ != nullptr) {
        shell_->OpenUrl(url.toString().toStdString());
    }
}

} // namespace qvs
