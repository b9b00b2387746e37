#include "platform/WindowSearch.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#ifndef _WIN32
#include <dlfcn.h>
#endif

namespace qvs::platform {
namespace {

#ifndef _WIN32

// An unreachable display finds nothing (and does not crash).
TEST(WindowSearchTest, WithoutDisplayNothingIsFound) {
    const char* old = std::getenv("DISPLAY");
    const std::string saved = old ? old : "";
    setenv("DISPLAY", ":4711", 1);
    EXPECT_EQ(FindTopLevelWindow("Quorvash", "MainClass.MainClass"), 0u);
    if (old) {
        setenv("DISPLAY", saved.c_str(), 1);
    } else {
        unsetenv("DISPLAY");
    }
}

// A real top-level window on the X display, made the way a Java client's
// toolkit makes one: WM_NAME, optionally _NET_WM_NAME, and WM_CLASS (the
// instance and the class name, each ended by a zero byte).
class X11Window {
public:
    X11Window(const std::string& title, const std::string& wmClass, const char* netTitle) {
        library_ = dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
        // Xvfb refuses a connection now and then.
        for (int attempt = 0; library_ != nullptr && display_ == nullptr && attempt < 5;
             ++attempt) {
            display_ = Call<void*>("XOpenDisplay", static_cast<const char*>(nullptr));
        }
        if (display_ == nullptr) {
            return;
        }
        const auto root = Call<unsigned long>("XDefaultRootWindow", display_);
        window_ = Call<unsigned long>("XCreateSimpleWindow", display_, root, 0, 0, 40U, 30U, 0U,
                                      0UL, 0UL);
        const unsigned long wmName = 39, wmClassName = 67, string = 31; // predefined atoms
        SetProperty(wmName, string, title);
        SetProperty(wmClassName, string, wmClass);
        if (netTitle != nullptr) {
            SetProperty(Atom("_NET_WM_NAME"), Atom("UTF8_STRING"), netTitle);
        }
        Call<int>("XMapWindow", display_, window_);
        Call<int>("XSync", display_, 0);
    }
    ~X11Window() {
        if (display_ != nullptr) {
            Call<int>("XDestroyWindow", display_, window_);
            Call<int>("XCloseDisplay", display_);
        }
        if (library_ != nullptr) {
            dlclose(library_);
        }
    }
    X11Window(const X11Window&) = delete;
    X11Window& operator=(const X11Window&) = delete;

    bool Made() const { return display_ != nullptr; }
    std::uintptr_t Handle() const { return window_; }

private:
    // libX11 is loaded at run time, as the launcher loads it.
    template <typename R, typename... Args> R Call(const char* name, Args... args) const {
        return reinterpret_cast<R (*)(Args...)>(dlsym(library_, name))(args...);
    }
    unsigned long Atom(const char* name) const {
        return Call<unsigned long>("XInternAtom", display_, name, 0);
    }
    void SetProperty(unsigned long property, unsigned long type, const std::string& value) const {
        Call<int>("XChangeProperty", display_, window_, property, type, 8, 0,
                  reinterpret_cast<const unsigned char*>(value.data()),
                  static_cast<int>(value.size()));
    }

    void* library_ = nullptr;
    void* display_ = nullptr;
    unsigned long window_ = 0;
};

struct WindowCase {
    const char* title;
    const char* instance;
    const char* className;
    const char* netTitle;
    bool counts;
};

TEST(WindowSearchX11Test, FindsOnlyExactTitleAndClass) {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
        GTEST_SKIP() << "needs an X display (run under xvfb-run)";
    }
    const WindowCase cases[] = {
        {"Quorvash", "client", "MainClass.MainClass", nullptr, true},
        {"Quorvash", "client", "MainClass", nullptr, false},
        {"Quorvash ", "client", "MainClass.MainClass", nullptr, false},
        {"quorvash", "client", "MainClass.MainClass", nullptr, false},
        {"Old name", "client", "MainClass.MainClass", "Quorvash", true},
        {"Quorvash", "client", "MainClass.MainClass", "Renamed", false},
        {"Quorvash", "MainClass.MainClass", "Other", nullptr, false}, // instance is no class
    };
    for (const WindowCase& c : cases) {
        SCOPED_TRACE(std::string(c.title) + " / " + c.instance + " / " + c.className);
        X11Window window(c.title, std::string(c.instance) + '\0' + c.className + '\0', c.netTitle);
        ASSERT_TRUE(window.Made());
        EXPECT_EQ(FindTopLevelWindow("Quorvash", "MainClass.MainClass"),
                  c.counts ? window.Handle() : 0u);
    }
}

#else

TEST(WindowSearchTest, UnknownWindowIsNotFound) {
    EXPECT_EQ(FindTopLevelWindow("Quorvash-no-such-window-4711", "NoSuchClass.4711"), 0u);
}

#endif

} // namespace
} // namespace qvs::platform
