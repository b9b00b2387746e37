#include "windows/TfrmChat.h"

#include "BuildSettings.h"
#include "ui_TfrmChat.h"
#include "windows/HtmlDocument.h"
#include "windows/TWebBrowser.h"
#include "windows/WindowPlacement.h"

#include <QFrame>
#include <QPlainTextEdit>
#include <QShowEvent>
#include <QUrl>

#include <random>

namespace qvs {

namespace {

constexpr QSize OuterSize{742, 581};
constexpr QRect BannerArea{0, 0, 468, 60};

// Right-clicks on the banner do nothing.
constexpr char NoRightClickScript[] =
    "<script language=\"JavaScript\">"
    "function right(e) {"
    " if (window.Event) { if (e.which == 2 || e.which == 3) return false; }"
    " else if (event.button == 2 || event.button == 3) {"
    " event.cancelBubble = true; event.returnValue = false; return false; }"
    " return true; }"
    " function nocontextmenu() {"
    " event.cancelBubble = true; event.returnValue = false; return false; }"
    " document.oncontextmenu = nocontextmenu;"
    " document.onmousedown = right;"
    " document.onmouseup = right;"
    "</script>";

TfrmChat::RandomSource OwnGenerator() {
    auto engine = std::make_shared<std::minstd_rand>(std::random_device{}());
    return [engine] { return std::uniform_int_distribution<int>(0, 32767)(*engine); };
}

} // namespace

TfrmChat::TfrmChat(QWidget* owner, IShell* shell, RandomSource random)
    : QDialog(owner, Qt::Dialog | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      ui_(std::make_unique<Ui::TfrmChat>()), shell_(shell),
      random_(random ? std::move(random) : OwnGenerator()) {
    // Qt paints every widget double-buffered already.
    ui_->setupUi(this);
    wbChat = ui_->wbChat;
    Panel1 = ui_->Panel1;
    pnlAdvertisement = ui_->pnlAdvertisement;
    wbAdvertisement = ui_->wbAdvertisement;
    memAdvertisement = ui_->memAdvertisement;
    memAdvertisement->setPlainText(AdvertisementLines().join(QLatin1Char('\n')));

    connect(wbAdvertisement, &TWebBrowser::DocumentComplete, this,
            guard_.Slot([this] { wbAdvertisementDocumentComplete(); }));
    for (TWebBrowser* view : {wbAdvertisement, wbChat}) {
        connect(view, &TWebBrowser::NewWindowRequested, this,
                [this](const QUrl& url) { guard_.Run([this, &url] { OpenNewWindow(url); }); });
    }
    connect(&TimerAd, &QTimer::timeout, this, guard_.Slot([this] { TimerAdTimer(); }));
    TimerAd.start(1);

    wbChat->Navigate(QUrl(ChatPage()));
}

TfrmChat::~TfrmChat() = default;

QString TfrmChat::ChatPage() {
    return QString::fromLatin1(build::GameWebSite) + QStringLiteral("/qvschat/phpMyChat.php3");
}

QStringList TfrmChat::AdvertisementLines() {
    const QString host = QString::fromLatin1(build::AdHost);
    const QString click = QString::fromLatin1(build::AdClickUrl) + QStringLiteral("?host=") + host +
                          QStringLiteral("&size=468x60&b=indexpage&v=0");
    const QString banner = QString::fromLatin1(build::AdBannerUrl) + QStringLiteral("?host=") +
                           host + QStringLiteral("&size=468x60&b=indexpage&noscript=1");
    return {QString::fromLatin1(NoRightClickScript), QString(),
            QStringLiteral("<a href=\"%1\" target=\"_blank\"><img src=\"%2\" width=\"468\" "
                           "height=\"60\" border=\"0\" alt=\"Click here to visit our sponsor\">"
                           "</a>")
                .arg(click.toHtmlEscaped(), banner.toHtmlEscaped())};
}

void TfrmChat::TimerAdTimer() {
    TimerAd.stop();
    const QByteArray memoText = memAdvertisement->toPlainText().toLocal8Bit();
    // The wait for a first document runs events: this window may be gone after it.
    wbAdvertisement->LoadDocument(HtmlDocument(std::string_view(memoText.data(), memoText.size())));
}

void TfrmChat::wbAdvertisementDocumentComplete() {
    // Fit again first, so that repeated completions do not shift it further.
    wbAdvertisement->setGeometry(BannerArea);
    // Border and scroll bars of the view fall outside the panel, which clips them.
    wbAdvertisement->setGeometry(BannerArea.adjusted(-12, -17, 50 - 12, 50 - 17));
    TimerAd.setInterval(AdvertisementInterval(random_()));
    TimerAd.start();
    if (isVisible()) {
        wbChat->setFocus();
    }
}

void TfrmChat::FormResize() {
    pnlAdvertisement->move((width() - pnlAdvertisement->width()) / 2, pnlAdvertisement->y());
}

void TfrmChat::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    FormResize();
}

void TfrmChat::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!placed_) {
        placed_ = true;
        PlaceOnOwner(*this, OuterSize);
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
