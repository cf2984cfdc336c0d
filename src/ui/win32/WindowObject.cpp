#include "ui/win32/WindowObject.h"

#include <exception>

namespace lsu::win32 {

WindowObject::~WindowObject() {
    if (handle_) detach();
}

WNDCLASSEXW WindowObject::windowClass(HINSTANCE instance, const wchar_t* name) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = name;
    return windowClass;
}

bool WindowObject::createWindow(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, HWND parent,
                                HINSTANCE instance, SIZE size) {
    const int at = (style & WS_CHILD) ? 0 : CW_USEDEFAULT;
    return CreateWindowExW(exStyle, className, title, style, at, at, size.cx, size.cy, parent, nullptr, instance,
                           this) != nullptr;
}

INT_PTR WindowObject::showModal(HINSTANCE instance, int templateId, HWND owner) {
    return DialogBoxParamW(instance, MAKEINTRESOURCEW(templateId), owner, dialogProcedure,
                           reinterpret_cast<LPARAM>(this));
}

WindowObject* WindowObject::attach(HWND window, void* object) {
    auto* self = static_cast<WindowObject*>(object);
    if (!self) return nullptr;
    self->handle_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    return self;
}

WindowObject* WindowObject::attached(HWND window) {
    return reinterpret_cast<WindowObject*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// The handle is gone after this message: no later message may reach the
// object, which may be gone by then as well.
void WindowObject::detach() {
    SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
    handle_ = nullptr;
}

std::optional<LRESULT> WindowObject::answer(UINT message, WPARAM wParam, LPARAM lParam, bool& failed) noexcept {
    try {
        return onMessage(message, wParam, lParam);
    } catch (const std::exception& error) {
        failed = true;
        onHandlerFailed(error.what());
    } catch (...) {
        failed = true;
        onHandlerFailed("An unknown failure.");
    }
    return std::nullopt;
}

LRESULT CALLBACK WindowObject::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowObject* self = message == WM_NCCREATE
                             ? attach(window, reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams)
                             : attached(window);
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    bool failed = false;
    const std::optional<LRESULT> answered = self->answer(message, wParam, lParam, failed);
    if (message == WM_NCDESTROY) self->detach();
    if (answered) return *answered;
    if (!failed) return DefWindowProcW(window, message, wParam, lParam);
    // A window whose making failed is not made; any other message failed
    // did nothing more.
    if (message == WM_NCCREATE) return FALSE;
    return message == WM_CREATE ? -1 : 0;
}

INT_PTR CALLBACK WindowObject::dialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowObject* self = message == WM_INITDIALOG ? attach(dialog, reinterpret_cast<void*>(lParam)) : attached(dialog);
    if (!self) return FALSE;
    bool failed = false;
    const std::optional<LRESULT> answered = self->answer(message, wParam, lParam, failed);
    if (message == WM_NCDESTROY) self->detach();
    return answered ? static_cast<INT_PTR>(*answered) : FALSE;
}

}  // namespace lsu::win32
