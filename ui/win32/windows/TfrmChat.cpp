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
    const ui::TimerSpec& timerAd = ui::LookupTimer(Table(), "TimerAd");
    if (wbAdvertisement_ && timerAd.enabled) {
        StartTimerAd(static_cast<UINT>(timerAd.interval));
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
    const RECT fit = Place(ui::Lookup(Table(), "wbAdvertisement"));
    const Dpi dpi = WindowDpi();
    // Fit again first, so that repeated completions do not shift it further.
    MoveWindow(view, fit.left, fit.top, fit.right - fit.left, fit.bottom - fit.top, TRUE);
    MoveWindow(view, dpi.Scale(BannerViewLeft), dpi.Scale(BannerViewTop),
               fit.right - fit.left + dpi.Scale(BannerViewGrowth),
               fit.bottom - fit.top + dpi.Scale(BannerViewGrowth), TRUE);
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
    SetWindowPos(panel, nullptr, BannerPanelLeft(client.right, bounds.right - bounds.left),
                 bounds.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
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
    FitToPlaceholder(wbAdvertisement_.get());
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
