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
// toolkit makes one: WM_NAME, optionally _NET_WM_NAME, and WM_CLASS.
class X11Window {
public:
    X11Window(const std::string& title, const std::string& instance, const std::string& className,
              const char* netTitle = nullptr) {
        library_ = dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
        if (library_ == nullptr) {
            return;
        }
        auto open = Fn<void* (*)(const char*)>("XOpenDisplay");
        // Xvfb refuses a connection now and then.
        for (int attempt = 0; attempt < 5 && display_ == nullptr; ++attempt) {
            display_ = open(nullptr);
        }
        if (display_ == nullptr) {
            return;
        }
        auto root = Fn<unsigned long (*)(void*)>("XDefaultRootWindow")(display_);
        window_ = Fn<unsigned long (*)(void*, unsigned long, int, int, unsigned, unsigned, unsigned,
                                       unsigned long, unsigned long)>("XCreateSimpleWindow")(
            display_, root, 0, 0, 40, 30, 0, 0, 0);
        Fn<int (*)(void*, unsigned long, const char*)>("XStoreName")(display_, window_,
                                                                     title.c_str());
        struct ClassHint {
            const char* name;
            const char* className;
        } hint{instance.c_str(), className.c_str()};
        Fn<int (*)(void*, unsigned long, ClassHint*)>("XSetClassHint")(display_, window_, &hint);
        if (netTitle != nullptr) {
            auto intern = Fn<unsigned long (*)(void*, const char*, int)>("XInternAtom");
            Fn<int (*)(void*, unsigned long, unsigned long, unsigned long, int, int,
                       const unsigned char*, int)>("XChangeProperty")(
                display_, window_, intern(display_, "_NET_WM_NAME", 0),
                intern(display_, "UTF8_STRING", 0), 8, 0,
                reinterpret_cast<const unsigned char*>(netTitle),
                static_cast<int>(std::string(netTitle).size()));
        }
        Fn<int (*)(void*, unsigned long)>("XMapWindow")(display_, window_);
        Fn<int (*)(void*, int)>("XSync")(display_, 0);
    }
    ~X11Window() {
        if (display_ != nullptr) {
            Fn<int (*)(void*, unsigned long)>("XDestroyWindow")(display_, window_);
            Fn<int (*)(void*)>("XCloseDisplay")(display_);
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
    template <typename F> F Fn(const char* name) const {
        return reinterpret_cast<F>(dlsym(library_, name));
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
        {"Launcher", "client", "MainClass.MainClass", nullptr, false},
        {"Old name", "client", "MainClass.MainClass", "Quorvash", true},
        {"Quorvash", "client", "MainClass.MainClass", "Renamed", false},
        {"Quorvash", "MainClass.MainClass", "Other", nullptr, false}, // instance is no class
    };
    for (const WindowCase& c : cases) {
        SCOPED_TRACE(std::string(c.title) + " / " + c.instance + " / " + c.className);
        X11Window window(c.title, c.instance, c.className, c.netTitle);
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
