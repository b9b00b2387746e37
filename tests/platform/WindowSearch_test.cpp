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

// libX11 is loaded at run time, as the launcher loads it.
template <typename R, typename... Args> R CallX11(void* library, const char* name, Args... args) {
    return reinterpret_cast<R (*)(Args...)>(dlsym(library, name))(args...);
}

struct WindowCase {
    const char *title, *instance, *className, *netTitle;
    bool counts;
};

// Real top-level windows on the X display, made the way a Java client's
// toolkit makes them: WM_NAME, optionally _NET_WM_NAME, and WM_CLASS.
TEST(WindowSearchX11Test, FindsOnlyExactTitleAndClass) {
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || *name == '\0') {
        GTEST_SKIP() << "needs an X display (run under xvfb-run)";
    }
    void* x11 = dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(x11, nullptr);
    void* display = nullptr;
    // Xvfb refuses a connection now and then.
    for (int attempt = 0; display == nullptr && attempt < 5; ++attempt) {
        display = CallX11<void*>(x11, "XOpenDisplay", static_cast<const char*>(nullptr));
    }
    ASSERT_NE(display, nullptr);
    const auto root = CallX11<unsigned long>(x11, "XDefaultRootWindow", display);
    const auto atom = [&](const char* atomName) {
        return CallX11<unsigned long>(x11, "XInternAtom", display, atomName, 0);
    };
    const unsigned long wmName = 39, wmClass = 67, string = 31; // predefined atoms
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
        const auto window = CallX11<unsigned long>(x11, "XCreateSimpleWindow", display, root, 0, 0,
                                                   40U, 30U, 0U, 0UL, 0UL);
        const auto set = [&](unsigned long property, unsigned long type, std::string value) {
            CallX11<int>(x11, "XChangeProperty", display, window, property, type, 8, 0,
                         reinterpret_cast<const unsigned char*>(value.data()),
                         static_cast<int>(value.size()));
        };
        set(wmName, string, c.title);
        // The instance and the class name, each ended by a zero byte.
        set(wmClass, string, std::string(c.instance) + '\0' + c.className + '\0');
        if (c.netTitle != nullptr) {
            set(atom("_NET_WM_NAME"), atom("UTF8_STRING"), c.netTitle);
        }
        CallX11<int>(x11, "XMapWindow", display, window);
        CallX11<int>(x11, "XSync", display, 0);
        EXPECT_EQ(FindTopLevelWindow("Quorvash", "MainClass.MainClass"), c.counts ? window : 0U);
        CallX11<int>(x11, "XDestroyWindow", display, window);
        CallX11<int>(x11, "XSync", display, 0);
    }
    CallX11<int>(x11, "XCloseDisplay", display);
    dlclose(x11);
}

#else

TEST(WindowSearchTest, UnknownWindowIsNotFound) {
    EXPECT_EQ(FindTopLevelWindow("Quorvash-no-such-window-4711", "NoSuchClass.4711"), 0u);
}

#endif

} // namespace
} // namespace qvs::platform
