#include "ui/win32/windows/TfrmSendErrorReport.h"

#include "BuildSettings.h"
#include "launcher/ErrorReport.h"
#include "launcher/IShell.h"
#include "ui/win32/base/Text.h"

#include <cstring>

namespace qvs::win32 {

namespace {

// Puts the text on the clipboard as Unicode text; failures are ignored.
void CopyToClipboard(HWND owner, const std::string& text) {
    const std::wstring wide = Widen(text);
    const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (memory == nullptr) {
        return;
    }
    std::memcpy(GlobalLock(memory), wide.c_str(), bytes);
    GlobalUnlock(memory);
    if (OpenClipboard(owner)) {
        EmptyClipboard();
        if (SetClipboardData(CF_UNICODETEXT, memory) != nullptr) {
            memory = nullptr; // the clipboard owns it now
        }
        CloseClipboard();
    }
    if (memory != nullptr) {
        GlobalFree(memory);
    }
}

} // namespace

TfrmSendErrorReport::TfrmSendErrorReport(HWND owner, std::string configPath,
                                         std::string errorLogPath, IShell& shell,
                                         std::function<void()> playClickSound)
    : DialogWindow(ui::SendErrorReportWindowTable(), owner), configPath_(std::move(configPath)),
      errorLogPath_(std::move(errorLogPath)), shell_(shell),
      playClickSound_(std::move(playClickSound)) {}

void TfrmSendErrorReport::FormCreate() {
    SetText("memErrorLog", BuildErrorReportText(configPath_, errorLogPath_));
}

void TfrmSendErrorReport::LoadConfiguration() {
    SetText("memErrorLog", ConfigurationReportText(configPath_));
}

// The edit control keeps its lines apart with CR LF, as the report wants.
std::string TfrmSendErrorReport::ReportText() const {
    return Text("memErrorLog");
}

void TfrmSendErrorReport::Clicked(std::string_view name) {
    if (name == "btnSendErrorReport") {
        btnSendErrorReportClick();
    } else if (name == "btnDontSend") {
        btnDontSendClick();
    }
}

void TfrmSendErrorReport::PlayClickSound() const {
    if (playClickSound_) {
        playClickSound_();
    }
}

void TfrmSendErrorReport::btnSendErrorReportClick() {
    PlayClickSound();
    CopyToClipboard(Handle(), ReportText());
    shell_.OpenUrl(ErrorReportMailLink(build::ErrorReportEmail));
    Close(ModalResult::OK);
}

void TfrmSendErrorReport::btnDontSendClick() {
    PlayClickSound();
    Close(ModalResult::Cancel);
}

} // namespace qvs::win32
