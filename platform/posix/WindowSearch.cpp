// The window search under X11. libX11 is loaded when needed, so the launcher
// needs no X11 at link time and still starts where there is none.
#include "platform/WindowSearch.h"

#include <dlfcn.h>

#include <cstdlib>
#include <string>

namespace qvs::platform {

namespace {

struct Display; // opaque to us as to every Xlib client
using XWindow = unsigned long;
using Atom = unsigned long;
using ErrorHandler = int (*)(Display*, void*);

constexpr Atom WmNameAtom = 39;  // XA_WM_NAME
constexpr Atom WmClassAtom = 67; // XA_WM_CLASS
constexpr long MaxPropertyLongs = 1024;
constexpr int MaxTreeDepth = 16;
constexpr int OpenAttempts = 5;

struct XlibApi {
    Display* (*OpenDisplay)(const char*);
    int (*CloseDisplay)(Display*);
    XWindow (*DefaultRootWindow)(Display*);
    int (*QueryTree)(Display*, XWindow, XWindow*, XWindow*, XWindow**, unsigned int*);
    int (*Free)(void*);
    Atom (*InternAtom)(Display*, const char*, int);
    int (*GetWindowProperty)(Display*, XWindow, Atom, long, long, int, Atom, Atom*, int*,
                             unsigned long*, unsigned long*, unsigned char**);
    ErrorHandler (*SetErrorHandler)(ErrorHandler);
};

template <typename Function> bool Load(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

bool LoadApi(void* library, XlibApi& api) {
    return Load(library, "XOpenDisplay", api.OpenDisplay) &&
           Load(library, "XCloseDisplay", api.CloseDisplay) &&
           Load(library, "XDefaultRootWindow", api.DefaultRootWindow) &&
           Load(library, "XQueryTree", api.QueryTree) && Load(library, "XFree", api.Free) &&
           Load(library, "XInternAtom", api.InternAtom) &&
           Load(library, "XGetWindowProperty", api.GetWindowProperty) &&
           Load(library, "XSetErrorHandler", api.SetErrorHandler);
}

// Windows may vanish while we look at them; such errors only mean "no match".
int IgnoreXError(Display*, void*) {
    return 0;
}

class WindowWalker {
public:
    WindowWalker(const XlibApi& api, Display* display, std::string_view title,
                 std::string_view className)
        : api_(api), display_(display), title_(title), className_(className),
          netWmName_(api.InternAtom(display, "_NET_WM_NAME", 1)) {}

    std::uintptr_t Run() {
        Visit(api_.DefaultRootWindow(display_), 0);
        return found_;
    }

private:
    bool ReadProperty(XWindow window, Atom property, std::string& value) const {
        if (property == 0) {
            return false;
        }
        Atom type = 0;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        const int status = api_.GetWindowProperty(display_, window, property, 0, MaxPropertyLongs,
                                                  0, 0, &type, &format, &count, &after, &data);
        const bool ok = status == 0 && data != nullptr && format == 8;
        if (ok) {
            value.assign(reinterpret_cast<const char*>(data), count);
        }
        if (data != nullptr) {
            api_.Free(data);
        }
        return ok;
    }

    std::string Title(XWindow window) const {
        std::string title;
        if (!ReadProperty(window, netWmName_, title)) {
            ReadProperty(window, WmNameAtom, title);
        }
        return title;
    }

    // WM_CLASS holds the instance name and the class name, each ended by a
    // zero byte.
    std::string ClassName(XWindow window) const {
        std::string both;
        if (!ReadProperty(window, WmClassAtom, both)) {
            return {};
        }
        const auto split = both.find('\0');
        if (split == std::string::npos) {
            return {};
        }
        std::string name = both.substr(split + 1);
        const auto end = name.find('\0');
        return end == std::string::npos ? name : name.substr(0, end);
    }

    void Check(XWindow window) {
        if (ClassName(window) == className_ && Title(window) == title_) {
            found_ = static_cast<std::uintptr_t>(window);
        }
    }

    // Window managers put each program's window into a frame of their own,
    // so the whole tree is searched, not only the root's children.
    void Visit(XWindow window, int depth) {
        XWindow root = 0;
        XWindow parent = 0;
        XWindow* children = nullptr;
        unsigned int count = 0;
        if (api_.QueryTree(display_, window, &root, &parent, &children, &count) == 0) {
            return;
        }
        for (unsigned int i = 0; i < count; ++i) {
            Check(children[i]);
            if (depth < MaxTreeDepth) {
                Visit(children[i], depth + 1);
            }
        }
        if (children != nullptr) {
            api_.Free(children);
        }
    }

    const XlibApi& api_;
    Display* display_;
    std::string_view title_;
    std::string_view className_;
    Atom netWmName_;
    std::uintptr_t found_ = 0;
};

std::uintptr_t SearchDisplay(const XlibApi& api, std::string_view title,
                             std::string_view className) {
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || *name == '\0') {
        return 0;
    }
    // A busy X server refuses a connection now and then; a missed running
    // client would let two of them fight over the same files.
    Display* display = nullptr;
    for (int attempt = 0; attempt < OpenAttempts && display == nullptr; ++attempt) {
        display = api.OpenDisplay(name);
    }
    if (display == nullptr) {
        return 0;
    }
    const ErrorHandler previous = api.SetErrorHandler(IgnoreXError);
    const std::uintptr_t found = WindowWalker(api, display, title, className).Run();
    api.CloseDisplay(display);
    api.SetErrorHandler(previous);
    return found;
}

} // namespace

std::uintptr_t FindTopLevelWindow(std::string_view title, std::string_view className) {
    void* library = dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        return 0;
    }
    XlibApi api{};
    std::uintptr_t found = 0;
    if (LoadApi(library, api)) {
        found = SearchDisplay(api, title, className);
    }
    dlclose(library);
    return found;
}

} // namespace qvs::platform
