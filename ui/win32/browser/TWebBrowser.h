// The embedded web browser view: the system's WebBrowser control hosted in a
// child window, with navigation, a callback for every completed top-level
// document, and loading an HTML text without a web server.
#pragma once

#include "ui/win32/base/Win32.h"

#include <exdisp.h>
#include <oleidl.h>
#include <wrl/client.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace qvs::win32 {

class BrowserSite;

class TWebBrowser {
public:
    struct Events {
        // The top-level document finished loading ("about:blank" included).
        std::function<void()> documentComplete;
        // A page asked for a new window; it is not opened here.
        std::function<void(const std::string& url)> newWindow;
    };

    // How long a window waits for a first document before giving up.
    static constexpr std::chrono::milliseconds DocumentWait{10000};

    // The view as a child of parent at bounds (client pixels). Null where no
    // HTML engine can be created: the caller then opens its page elsewhere.
    // COM must be initialised for OLE on this thread.
    static std::unique_ptr<TWebBrowser> Create(HWND parent, const RECT& bounds, Events events);

    TWebBrowser(const TWebBrowser&) = delete;
    TWebBrowser& operator=(const TWebBrowser&) = delete;
    ~TWebBrowser();

    HWND Window() const { return container_; }
    void SetBounds(const RECT& bounds);
    void Focus();

    void Navigate(const std::string& url);
    // True once a top-level document has finished loading.
    bool HasDocument() const { return hasDocument_; }
    // When no document exists yet, navigates to "about:blank"; then runs the
    // message pump until one has loaded, for at most bound. False when none
    // came, or when the program is quitting.
    bool WaitForDocument(std::chrono::milliseconds bound);
    // Makes the bytes (an HTML text, 8-bit) the current document once a
    // document exists. False, and the view left as it was, when none came
    // in time or the document would not take them.
    bool LoadDocument(std::string_view html, std::chrono::milliseconds bound = DocumentWait);

    // Offers a key message to the page first (Tab, Delete, Ctrl+C reach it
    // only so); true when the page took it.
    bool TranslateAccelerator(MSG& message);

private:
    TWebBrowser(HWND container, Events events);
    bool Embed();
    void OnDocumentComplete(IDispatch* browser);

    HWND container_;
    Events events_;
    BrowserSite* site_ = nullptr;
    Microsoft::WRL::ComPtr<IOleObject> object_;
    Microsoft::WRL::ComPtr<IWebBrowser2> browser_;
    Microsoft::WRL::ComPtr<IConnectionPoint> events2_;
    DWORD cookie_ = 0;
    Microsoft::WRL::ComPtr<IOleInPlaceActiveObject> active_;
    bool hasDocument_ = false;
};

} // namespace qvs::win32
