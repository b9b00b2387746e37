#include "ui/win32/windows/TfrmUpdateNews.h"

#include "launcher/IShell.h"
#include "system/TextLines.h"
#include "ui/win32/base/Text.h"
#include "ui/win32/windows/BrowserViews.h"

namespace qvs::win32 {

TfrmUpdateNews::TfrmUpdateNews(HWND owner, IShell& shell)
    : DialogWindow(ui::UpdateNewsWindowTable(), owner), shell_(shell),
      wb_(CreateViewIn(Control("wb"), shell)) {}

TfrmUpdateNews::~TfrmUpdateNews() = default;

void TfrmUpdateNews::SetCaption(const std::string& caption) {
    SetWindowTextW(Handle(), Widen(caption).c_str());
}

void TfrmUpdateNews::Navigate(const std::string& url) {
    url_ = url;
    if (wb_) {
        wb_->Navigate(url);
    }
}

bool TfrmUpdateNews::LoadHtml(const std::string& text) {
    html_ = text;
    return wb_ && wb_->LoadDocument(JoinWithCrLf(SplitIntoLines(text)), documentWait_);
}

// The window shows only with a document in its view, never blank.
bool TfrmUpdateNews::BeforeShow() {
    if (wb_ && wb_->WaitForDocument(documentWait_)) {
        return true;
    }
    OpenInDefaultBrowser();
    return false;
}

void TfrmUpdateNews::OpenInDefaultBrowser() {
    if (!url_.empty()) {
        shell_.OpenUrl(url_);
    } else if (!html_.empty()) {
        OpenHtmlElsewhere(html_, shell_);
    }
}

void TfrmUpdateNews::Resized() {
    FitToPlaceholder(wb_.get());
}

bool TfrmUpdateNews::PreTranslate(MSG& message) {
    return (wb_ && wb_->TranslateAccelerator(message)) || DialogWindow::PreTranslate(message);
}

} // namespace qvs::win32
