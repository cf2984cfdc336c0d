#pragma once
// Every window and dialog of the program is an object attached to its
// handle: once, when the system first hands over the handle with the object
// (WM_NCCREATE for a window, WM_INITDIALOG for a dialog), and until the
// handle goes. One procedure serves the windows and one the dialogs, and
// each is a barrier: no exception of a handler reaches the system. A handler
// that throws ends there; what it had done stands, and the object is told.

#include <windows.h>

#include <optional>

namespace lsu::win32 {

class WindowObject {
public:
    WindowObject(const WindowObject&) = delete;
    WindowObject& operator=(const WindowObject&) = delete;

    HWND handle() const { return handle_; }

protected:
    WindowObject() = default;
    // A window that outlives its object leaves it: its later messages go to
    // the system's default handling.
    ~WindowObject();

    // The message's answer; nullopt leaves the message to the system (a
    // dialog's answers are TRUE for a message it handled).
    virtual std::optional<LRESULT> onMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // A handler threw; `reason` says what it threw.
    virtual void onHandlerFailed(const char* reason) noexcept { (void)reason; }

    // A window class of the program: an arrow cursor, the dialog colour,
    // and the windows' procedure.
    static WNDCLASSEXW windowClass(HINSTANCE instance, const wchar_t* name);
    // Creates a window of such a class, attached to this object: a child
    // of no size (its parent lays it out), or a top-level window of the
    // size given where the system places new windows.
    bool createWindow(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, HWND parent,
                      HINSTANCE instance, SIZE size = {});
    // Shows the dialog template modally, attached to this object; the
    // dialog's result, or -1 when it could not be shown.
    INT_PTR showModal(HINSTANCE instance, int templateId, HWND owner);

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static INT_PTR CALLBACK dialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    static WindowObject* attach(HWND window, void* object);
    static WindowObject* attached(HWND window);
    void detach();
    // The handler's answer; nullopt when it left the message to the system
    // or failed, which `failed` tells apart.
    std::optional<LRESULT> answer(UINT message, WPARAM wParam, LPARAM lParam, bool& failed) noexcept;

    HWND handle_ = nullptr;
};

}  // namespace lsu::win32
