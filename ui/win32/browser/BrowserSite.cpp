#include "ui/win32/browser/BrowserSite.h"

#include <exdispid.h>

namespace qvs::win32 {

namespace {

// Runs an event handler of the host; nothing may unwind into the control.
template <typename Handler, typename... Arguments>
void Call(const Handler& handler, Arguments&&... arguments) noexcept {
    if (!handler) {
        return;
    }
    try {
        handler(std::forward<Arguments>(arguments)...);
    } catch (...) {
    }
}

template <typename Out> HRESULT NoObject(Out** out, HRESULT result) {
    if (out == nullptr) {
        return E_POINTER;
    }
    *out = nullptr;
    return result;
}

} // namespace

BrowserSite::BrowserSite(HWND container, Events events)
    : container_(container), events_(std::move(events)) {}

void BrowserSite::Detach() {
    events_ = {};
}

STDMETHODIMP BrowserSite::QueryInterface(REFIID riid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (riid == IID_IUnknown || riid == IID_IOleClientSite) {
        *object = static_cast<IOleClientSite*>(this);
    } else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceSite) {
        *object = static_cast<IOleInPlaceSite*>(this);
    } else if (riid == IID_IOleInPlaceUIWindow || riid == IID_IOleInPlaceFrame) {
        *object = static_cast<IOleInPlaceFrame*>(this);
    } else if (riid == IID_IDocHostUIHandler) {
        *object = static_cast<IDocHostUIHandler*>(this);
    } else if (riid == IID_IDispatch || riid == DIID_DWebBrowserEvents2) {
        *object = static_cast<DWebBrowserEvents2*>(this);
    } else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) BrowserSite::AddRef() {
    return ++references_;
}

STDMETHODIMP_(ULONG) BrowserSite::Release() {
    const ULONG left = --references_;
    if (left == 0) {
        delete this;
    }
    return left;
}

STDMETHODIMP BrowserSite::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
    return NoObject(moniker, E_NOTIMPL);
}

STDMETHODIMP BrowserSite::GetContainer(IOleContainer** container) {
    return NoObject(container, E_NOINTERFACE);
}

STDMETHODIMP BrowserSite::GetWindow(HWND* window) {
    if (window == nullptr) {
        return E_POINTER;
    }
    *window = container_;
    return S_OK;
}

STDMETHODIMP BrowserSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                           LPRECT position, LPRECT clip,
                                           LPOLEINPLACEFRAMEINFO frameInfo) {
    if (frame == nullptr || document == nullptr || position == nullptr || clip == nullptr ||
        frameInfo == nullptr) {
        return E_POINTER;
    }
    *frame = static_cast<IOleInPlaceFrame*>(this);
    AddRef();
    *document = nullptr;
    GetClientRect(container_, position);
    *clip = *position;
    frameInfo->fMDIApp = FALSE;
    frameInfo->hwndFrame = GetAncestor(container_, GA_ROOT);
    frameInfo->haccel = nullptr;
    frameInfo->cAccelEntries = 0;
    return S_OK;
}

STDMETHODIMP BrowserSite::SetActiveObject(IOleInPlaceActiveObject* active, LPCOLESTR) {
    Call(events_.activeObject, active);
    return S_OK;
}

STDMETHODIMP BrowserSite::GetHostInfo(DOCHOSTUIINFO* info) {
    if (info == nullptr) {
        return E_POINTER;
    }
    info->cbSize = sizeof(DOCHOSTUIINFO);
    info->dwFlags = DOCHOSTUIFLAG_THEME | DOCHOSTUIFLAG_DPI_AWARE;
    info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
    info->pchHostCss = nullptr;
    info->pchHostNS = nullptr;
    return S_OK;
}

STDMETHODIMP BrowserSite::GetOptionKeyPath(LPOLESTR* key, DWORD) {
    return NoObject(key, S_FALSE);
}

STDMETHODIMP BrowserSite::GetDropTarget(IDropTarget*, IDropTarget** target) {
    return NoObject(target, E_NOTIMPL);
}

STDMETHODIMP BrowserSite::GetExternal(IDispatch** external) {
    return NoObject(external, S_FALSE);
}

STDMETHODIMP BrowserSite::TranslateUrl(DWORD, LPWSTR, LPWSTR* out) {
    return NoObject(out, S_FALSE);
}

STDMETHODIMP BrowserSite::FilterDataObject(IDataObject*, IDataObject** out) {
    return NoObject(out, S_FALSE);
}

STDMETHODIMP BrowserSite::GetTypeInfoCount(UINT* count) {
    if (count == nullptr) {
        return E_POINTER;
    }
    *count = 0;
    return S_OK;
}

STDMETHODIMP BrowserSite::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* parameters, VARIANT*,
                                 EXCEPINFO*, UINT*) {
    if (parameters == nullptr) {
        return S_OK;
    }
    // Arguments arrive last first.
    if (id == DISPID_DOCUMENTCOMPLETE && parameters->cArgs == 2 &&
        parameters->rgvarg[1].vt == VT_DISPATCH) {
        Call(events_.documentComplete, parameters->rgvarg[1].pdispVal);
    } else if (id == DISPID_NEWWINDOW3 && parameters->cArgs == 5) {
        OnNewWindow(*parameters);
    }
    return S_OK;
}

// NewWindow3(ppDisp, Cancel, dwFlags, bstrUrlContext, bstrUrl): the launcher
// opens no browser windows of its own; the page goes to the default browser.
void BrowserSite::OnNewWindow(DISPPARAMS& parameters) {
    VARIANT& cancel = parameters.rgvarg[3];
    if (cancel.vt == (VT_BYREF | VT_BOOL) && cancel.pboolVal != nullptr) {
        *cancel.pboolVal = VARIANT_TRUE;
    }
    const VARIANT& url = parameters.rgvarg[0];
    if (url.vt == VT_BSTR && url.bstrVal != nullptr) {
        Call(events_.newWindow, std::wstring(url.bstrVal, SysStringLen(url.bstrVal)));
    }
}

} // namespace qvs::win32
