#include "ui/win32/base/WindowBase.h"

#include "ui/win32/base/Handles.h"
#include "ui/win32/base/MessagePump.h"

#include <exception>
#include <stdexcept>

namespace qvs::win32 {

namespace {

// Our windows carry this property naming their object, so a class of ours
// registered by someone else is never mistaken for one.
constexpr const wchar_t* ObjectProperty = L"QvsWindowObject";

} // namespace

WindowBase::~WindowBase() {
    if (window_ != nullptr) {
        // The object is half taken down: the last messages go to the
        // default procedure.
        RemovePropW(window_, ObjectProperty);
        const HWND window = window_;
        window_ = nullptr;
        --LiveHandles();
        DestroyWindow(window);
    }
}

WindowBase* WindowBase::FromHandle(HWND window) {
    return static_cast<WindowBase*>(GetPropW(window, ObjectProperty));
}

void WindowBase::Create(const WindowClass& windowClass, const WindowSpec& spec) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW info{};
    if (!GetClassInfoExW(instance, windowClass.name, &info)) {
        info.cbSize = sizeof info;
        info.style = windowClass.style;
        info.lpfnWndProc = &WindowBase::Dispatch;
        info.hInstance = instance;
        info.hIcon = windowClass.icon;
        info.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        info.lpszClassName = windowClass.name;
        RegisterClassExW(&info);
    }
    const RECT& b = spec.bounds;
    const auto menu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id));
    CreateWindowExW(spec.exStyle, windowClass.name, spec.title, spec.style, b.left, b.top,
                    b.right - b.left, b.bottom - b.top, spec.parent,
                    (spec.style & WS_CHILD) != 0 ? menu : nullptr, instance, this);
    if (window_ == nullptr) {
        throw std::runtime_error("CreateWindowEx failed");
    }
}

LRESULT WindowBase::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return Default(message, wParam, lParam);
}

bool WindowBase::PreTranslate(MSG&) {
    return false;
}

void WindowBase::HandlerFailed(const std::string& message) noexcept {
    OutputDebugStringA(message.c_str());
}

LRESULT WindowBase::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK WindowBase::Dispatch(HWND window, UINT message, WPARAM wParam,
                                      LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<WindowBase*>(
            reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        ++LiveHandles();
        SetPropW(window, ObjectProperty, self);
    }
    WindowBase* self = FromHandle(window);
    if (self == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        // Destroyed by the system (with its parent): nothing left to destroy.
        RemovePropW(window, ObjectProperty);
        self->window_ = nullptr;
        --LiveHandles();
        return DefWindowProcW(window, message, wParam, lParam);
    }
    try {
        if (message == WM_QVS_PRETRANSLATE) {
            return self->PreTranslate(*reinterpret_cast<MSG*>(lParam)) ? 1 : 0;
        }
        return self->HandleMessage(message, wParam, lParam);
    } catch (const std::exception& error) {
        self->HandlerFailed(error.what());
    } catch (...) {
        self->HandlerFailed("Unknown error");
    }
    return 0;
}

} // namespace qvs::win32
