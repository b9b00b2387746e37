// The base of every window and control of the front end. One static window
// procedure finds the object behind an HWND and hands each message to its
// virtual HandleMessage; nothing may unwind through user32, so an error
// escaping a handler goes to HandlerFailed instead.
#pragma once

#include "ui/win32/base/Win32.h"

#include <string>

namespace qvs::win32 {

struct WindowClass {
    const wchar_t* name;
    UINT style = 0;
    HICON icon = nullptr;
};

struct WindowSpec {
    const wchar_t* title = L"";
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT bounds{0, 0, 0, 0};
    HWND parent = nullptr;
    // Child windows: the control ID.
    int id = 0;
};

class WindowBase {
public:
    WindowBase() = default;
    // Destroys the window, if the system has not already.
    virtual ~WindowBase();
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;

    HWND Handle() const { return window_; }

    // The object whose window this is; nullptr for windows of others.
    static WindowBase* FromHandle(HWND window);

protected:
    // Registers the class on first use (no background brush: windows paint
    // all of their area) and creates the window.
    void Create(const WindowClass& windowClass, const WindowSpec& spec);

    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // A key or mouse message before translation; true when handled.
    virtual bool PreTranslate(MSG& message);
    // An exception escaped HandleMessage.
    virtual void HandlerFailed(const std::string& message) noexcept;

    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK Dispatch(HWND window, UINT message, WPARAM wParam,
                                     LPARAM lParam) noexcept;

    HWND window_ = nullptr;
};

} // namespace qvs::win32
