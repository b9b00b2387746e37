#include "ui/win32/windows/TfrmChat.h"

#include "launcher/ChatBanner.h"
#include "launcher/IShell.h"
#include "ui/win32/windows/BrowserViews.h"

#include <random>

namespace qvs::win32 {

namespace {

constexpr UINT_PTR TimerAdId = 1;

TfrmChat::RandomSource OwnGenerator() {
    auto engine = std::make_shared<std::minstd_rand>(std::random_device{}());
    return [engine] { return std::uniform_int_distribution<int>(0, 32767)(*engine); };
}

} // namespace

TfrmChat::TfrmChat(HWND owner, IShell& shell, RandomSource random)
    : DialogWindow(ui::ChatWindowTable(), owner), shell_(shell),
      random_(random ? std::move(random) : OwnGenerator()),
      wbChat_(CreateViewIn(Control("wbChat"), shell)) {
    if (!wbChat_) {
        return;
    }
    TWebBrowser::Events banner;
    banner.documentComplete = [this] { wbAdvertisementDocumentComplete(); };
    wbAdvertisement_ = CreateViewIn(Control("wbAdvertisement"), shell, std::move(banner));
    FormResize();
    if (wbAdvertisement_) {
        StartTimerAd(1);
    }
    wbChat_->Navigate(ChatPage());
}

TfrmChat::~TfrmChat() {
    KillTimer(Handle(), TimerAdId);
}

void TfrmChat::StartTimerAd(UINT interval) {
    SetTimer(Handle(), TimerAdId, interval, nullptr);
}

void TfrmChat::TimerAdTimer() {
    KillTimer(Handle(), TimerAdId);
    // The wait for a first document pumps messages: the player may close
    // the window meanwhile, which only ends its modal loop later.
    wbAdvertisement_->LoadDocument(Text("memAdvertisement"));
}

void TfrmChat::wbAdvertisementDocumentComplete() {
    const HWND view = Control("wbAdvertisement");
    const Dpi dpi = WindowDpi();
    // Fit again first, so that repeated completions do not shift it further.
    MoveWindow(view, 0, 0, dpi.Scale(468), dpi.Scale(60), TRUE);
    // Border and scroll bars of the view fall outside the panel, which clips them.
    MoveWindow(view, dpi.Scale(-12), dpi.Scale(-17), dpi.Scale(468 + 50), dpi.Scale(60 + 50), TRUE);
    FitToPlaceholder(wbAdvertisement_.get());
    StartTimerAd(static_cast<UINT>(AdvertisementInterval(random_())));
    if (IsWindowVisible(Handle())) {
        wbChat_->Focus();
    }
}

void TfrmChat::FormResize() {
    const HWND panel = Control("pnlAdvertisement");
    RECT client;
    RECT bounds;
    GetClientRect(Handle(), &client);
    GetWindowRect(panel, &bounds);
    MapWindowPoints(nullptr, GetParent(panel), reinterpret_cast<POINT*>(&bounds), 2);
    const int width = bounds.right - bounds.left;
    SetWindowPos(panel, nullptr, (client.right - width) / 2, bounds.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool TfrmChat::BeforeShow() {
    if (wbChat_ && wbChat_->WaitForDocument(documentWait_)) {
        return true;
    }
    shell_.OpenUrl(ChatPage());
    return false;
}

void TfrmChat::Resized() {
    FitToPlaceholder(wbChat_.get());
    FormResize();
}

bool TfrmChat::PreTranslate(MSG& message) {
    for (TWebBrowser* view : {wbChat_.get(), wbAdvertisement_.get()}) {
        if (view != nullptr && view->TranslateAccelerator(message)) {
            return true;
        }
    }
    return DialogWindow::PreTranslate(message);
}

LRESULT TfrmChat::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == TimerAdId) {
        TimerAdTimer();
        return 0;
    }
    return DialogWindow::HandleMessage(message, wParam, lParam);
}

} // namespace qvs::win32
