#include "ui/win32/browser/TWebBrowser.h"

#include "ui/win32/base/ModalLoop.h"
#include "ui/win32/base/Text.h"
#include "ui/win32/browser/BrowserSite.h"
#include "ui/win32/browser/HtmlEngine.h"

#include <ocidl.h>

namespace qvs::win32 {

using Microsoft::WRL::ComPtr;

namespace {

// A BSTR for one call, freed after it.
class Bstr {
public:
    explicit Bstr(const std::wstring& text)
        : text_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { SysFreeString(text_); }
    BSTR Get() const { return text_; }

private:
    BSTR text_;
};

// The stream IPersistStreamInit reads the document from; it owns its memory.
ComPtr<IStream> MemoryStream(std::string_view bytes) {
    ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream))) {
        return nullptr;
    }
    ULONG written = 0;
    if (FAILED(stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written)) ||
        written != bytes.size()) {
        return nullptr;
    }
    const LARGE_INTEGER start{};
    if (FAILED(stream->Seek(start, STREAM_SEEK_SET, nullptr))) {
        return nullptr;
    }
    return stream;
}

} // namespace

std::unique_ptr<TWebBrowser> TWebBrowser::Create(HWND parent, const RECT& bounds, Events events) {
    if (!HtmlEngineAvailable()) {
        return nullptr;
    }
    RegisterBrowserEmulation();
    const HWND container = CreateWindowExW(
        0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, bounds.left,
        bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, parent, nullptr,
        GetModuleHandleW(nullptr), nullptr);
    if (container == nullptr) {
        return nullptr;
    }
    std::unique_ptr<TWebBrowser> view(new TWebBrowser(container, std::move(events)));
    if (!view->Embed()) {
        return nullptr;
    }
    return view;
}

TWebBrowser::TWebBrowser(HWND container, Events events)
    : container_(container), events_(std::move(events)) {
    BrowserSite::Events siteEvents;
    siteEvents.documentComplete = [this](IDispatch* browser) { OnDocumentComplete(browser); };
    siteEvents.newWindow = [this](const std::wstring& url) {
        if (events_.newWindow) {
            events_.newWindow(Narrow(url));
        }
    };
    siteEvents.activeObject = [this](IOleInPlaceActiveObject* active) { active_ = active; };
    site_ = new BrowserSite(container_, std::move(siteEvents));
}

bool TWebBrowser::Embed() {
    if (FAILED(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                reinterpret_cast<void**>(object_.GetAddressOf())))) {
        return false;
    }
    auto* clientSite = static_cast<IOleClientSite*>(site_);
    DWORD status = 0;
    object_->GetMiscStatus(DVASPECT_CONTENT, &status);
    const bool siteFirst = (status & OLEMISC_SETCLIENTSITEFIRST) != 0;
    if (siteFirst && FAILED(object_->SetClientSite(clientSite))) {
        return false;
    }
    OleSetContainedObject(object_.Get(), TRUE);
    if (!siteFirst && FAILED(object_->SetClientSite(clientSite))) {
        return false;
    }
    RECT area;
    GetClientRect(container_, &area);
    if (FAILED(
            object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, clientSite, 0, container_, &area)) ||
        FAILED(object_.As(&browser_))) {
        return false;
    }
    // Script errors of the pages are the sites' business, not the player's.
    browser_->put_Silent(VARIANT_TRUE);
    ComPtr<IConnectionPointContainer> points;
    if (SUCCEEDED(browser_.As(&points)) &&
        SUCCEEDED(points->FindConnectionPoint(DIID_DWebBrowserEvents2, &events2_))) {
        events2_->Advise(static_cast<IDispatch*>(static_cast<DWebBrowserEvents2*>(site_)),
                         &cookie_);
    }
    return cookie_ != 0;
}

// The control keeps the site alive in many places; it lets go of them only
// when deactivated, cut off from its site and closed, in this order. Left
// undone, the process crashes at exit.
TWebBrowser::~TWebBrowser() {
    site_->Detach();
    active_.Reset();
    if (browser_) {
        browser_->Stop();
    }
    if (object_) {
        ComPtr<IOleInPlaceObject> inPlace;
        if (SUCCEEDED(object_.As(&inPlace))) {
            inPlace->InPlaceDeactivate();
        }
    }
    if (events2_ && cookie_ != 0) {
        events2_->Unadvise(cookie_);
    }
    events2_.Reset();
    if (object_) {
        object_->SetClientSite(nullptr);
        object_->Close(OLECLOSE_NOSAVE);
    }
    browser_.Reset();
    object_.Reset();
    site_->Release();
    DestroyWindow(container_);
}

void TWebBrowser::SetBounds(const RECT& bounds) {
    MoveWindow(container_, bounds.left, bounds.top, bounds.right - bounds.left,
               bounds.bottom - bounds.top, TRUE);
    ComPtr<IOleInPlaceObject> inPlace;
    if (SUCCEEDED(object_.As(&inPlace))) {
        RECT area;
        GetClientRect(container_, &area);
        inPlace->SetObjectRects(&area, &area);
    }
}

void TWebBrowser::Focus() {
    ComPtr<IDispatch> document;
    ComPtr<IOleObject> documentObject;
    MSG none{};
    if (SUCCEEDED(browser_->get_Document(&document)) && document &&
        SUCCEEDED(document.As(&documentObject))) {
        documentObject->DoVerb(OLEIVERB_UIACTIVATE, &none, static_cast<IOleClientSite*>(site_), 0,
                               container_, nullptr);
    } else {
        SetFocus(container_);
    }
}

void TWebBrowser::Navigate(const std::string& url) {
    const Bstr address(Widen(url));
    VARIANT empty;
    VariantInit(&empty);
    browser_->Navigate(address.Get(), &empty, &empty, &empty, &empty);
}

bool TWebBrowser::WaitForDocument(std::chrono::milliseconds bound) {
    if (hasDocument_) {
        return true;
    }
    ComPtr<IDispatch> document;
    if (FAILED(browser_->get_Document(&document)) || !document) {
        Navigate("about:blank");
    }
    ModalLoop::PumpUntil([this] { return hasDocument_; }, std::chrono::steady_clock::now() + bound);
    return hasDocument_;
}

bool TWebBrowser::LoadDocument(std::string_view html, std::chrono::milliseconds bound) {
    if (!WaitForDocument(bound)) {
        return false;
    }
    ComPtr<IStream> stream = MemoryStream(html);
    ComPtr<IDispatch> document;
    ComPtr<IPersistStreamInit> persist;
    if (!stream || FAILED(browser_->get_Document(&document)) || !document ||
        FAILED(document.As(&persist))) {
        return false;
    }
    return SUCCEEDED(persist->Load(stream.Get()));
}

bool TWebBrowser::TranslateAccelerator(MSG& message) {
    if (!active_ || message.message < WM_KEYFIRST || message.message > WM_KEYLAST ||
        !IsChild(container_, message.hwnd)) {
        return false;
    }
    return active_->TranslateAccelerator(&message) == S_OK;
}

void TWebBrowser::OnDocumentComplete(IDispatch* browser) {
    // Frames complete too; only the top document counts.
    ComPtr<IUnknown> top;
    ComPtr<IUnknown> completed;
    if (browser == nullptr || !browser_ || FAILED(browser_.As(&top)) ||
        FAILED(browser->QueryInterface(IID_PPV_ARGS(&completed))) || top != completed) {
        return;
    }
    hasDocument_ = true;
    if (events_.documentComplete) {
        events_.documentComplete();
    }
}

} // namespace qvs::win32
