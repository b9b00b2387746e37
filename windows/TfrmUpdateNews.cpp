#include "windows/TfrmUpdateNews.h"

#include "launcher/gui/LocalText.h"
#include "launcher/gui/Pictures.h"
#include "ui_TfrmUpdateNews.h"
#include "windows/HtmlDocument.h"
#include "windows/TWebBrowser.h"
#include "windows/WindowPlacement.h"

#include <QShowEvent>
#include <QString>
#include <QUrl>

namespace qvs {

namespace {
constexpr QSize OuterSize{800, 480};
}

TfrmUpdateNews::TfrmUpdateNews(QWidget* owner, IShell* shell)
    : QDialog(owner, Qt::Dialog | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      ui_(std::make_unique<Ui::TfrmUpdateNews>()), shell_(shell),
      documentWait_(TWebBrowser::DocumentWait) {
    ui_->setupUi(this);
    setWindowIcon(LauncherIcon());
    wb = ui_->wb;
    connect(wb, &TWebBrowser::NewWindowRequested, this, [this](const QUrl& url) {
        guard_.Run([this, &url] {
            if (shell_ != nullptr) {
                shell_->OpenUrl(url.toString().toStdString());
            }
        });
    });
}

TfrmUpdateNews::~TfrmUpdateNews() = default;

void TfrmUpdateNews::SetCaption(const std::string& caption) {
    setWindowTitle(LocalText(caption));
}

void TfrmUpdateNews::Navigate(const std::string& url) {
    wb->Navigate(QUrl(QString::fromStdString(url)));
}

bool TfrmUpdateNews::LoadHtml(const std::string& text) {
    return wb->LoadDocument(HtmlDocument(text), documentWait_);
}

bool TfrmUpdateNews::event(QEvent* event) {
    return guard_.Event([this, event] { return QDialog::event(event); });
}

void TfrmUpdateNews::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!placed_) {
        placed_ = true;
        PlaceOnOwner(*this, OuterSize);
    }
}

} // namespace qvs
