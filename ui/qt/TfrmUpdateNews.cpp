#include "ui/qt/TfrmUpdateNews.h"

#include "ui/qt/HtmlDocument.h"
#include "ui/qt/LocalText.h"
#include "ui/qt/TWebBrowser.h"
#include "ui/qt/WindowBuilder.h"
#include "ui/qt/WindowPlacement.h"

#include <QShowEvent>
#include <QString>
#include <QUrl>

namespace qvs {

TfrmUpdateNews::TfrmUpdateNews(QWidget* owner, IShell* shell)
    : QDialog(owner, WindowFlagsOf(ui::UpdateNewsWindowTable())), shell_(shell),
      documentWait_(TWebBrowser::DocumentWait) {
    BuildWindow(*this, ui::UpdateNewsWindowTable());
    wb = Find<TWebBrowser>(*this, "wb");
    connect(wb, &TWebBrowser::NewWindowRequested, this, [this](const QUrl& url) {
        guard_.Run([this, &url] {
            if (shell_ != nullptr) {
                shell_->OpenUrl(url.toString().toStdString());
            }
        });
    });
}

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
        const ui::WindowSpec& table = ui::UpdateNewsWindowTable();
        PlaceOnOwner(*this, QSize(table.width, table.height));
    }
}

} // namespace qvs
