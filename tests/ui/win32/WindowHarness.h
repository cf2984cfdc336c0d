#pragma once
// The real main window in the test process, over the real platform of the
// throwaway prefix, driven the way a user drives it: window messages and
// input on the display, with the message queue pumped until it is idle.

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/Backend.h"
#include "ui/win32/MainWindow.h"

namespace lsu::test {

inline constexpr char kCurrentUserRun[] = "Registry\\Current User\\Run";

// While it lives, answers every dialog box of the system's dialog class
// (message boxes, and any dialog made from a template) with the given
// command, and closes every pop-up menu as soon as it opens, so that modal
// loops end and the test can see what was shown.
class ModalWatch {
public:
    explicit ModalWatch(int answer = IDOK);
    ~ModalWatch();
    ModalWatch(const ModalWatch&) = delete;
    ModalWatch& operator=(const ModalWatch&) = delete;

    const std::vector<std::string>& messageBoxTitles() const { return titles_; }
    const std::vector<HMENU>& popupMenus() const { return popups_; }

private:
    static LRESULT CALLBACK onCbt(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK onCallWindow(int code, WPARAM wParam, LPARAM lParam);

    int answer_;
    HHOOK cbt_ = nullptr, callWindow_ = nullptr;
    std::vector<std::string> titles_;
    std::vector<HMENU> popups_;
};

class WindowHarness {
public:
    WindowHarness();  // every start-up source of the prefix emptied
    ~WindowHarness();
    WindowHarness(const WindowHarness&) = delete;
    WindowHarness& operator=(const WindowHarness&) = delete;

    Platform& platform() { return backend_->platform(); }

    // Seeds before the window opens; reads what stands in the registry now.
    void seedCurrentUserRun(const std::string& name, const std::string& command, bool disabled = false);
    void removeCurrentUserRun(const std::string& name, bool disabled = false);
    std::optional<std::string> currentUserRun(const std::string& name, bool disabled = false);

    // Creates and shows the window in the foreground, then pumps until idle.
    win32::MainWindow& open();
    win32::MainWindow& window() { return *window_; }
    HWND main() const { return window_->handle(); }

    // The window's parts, found by their classes as a user's tool would.
    HWND list() const;
    HWND tree() const;
    HWND toolbar() const;
    HWND pane() const;
    HWND closeButton() const;
    HMENU editMenu() const { return GetSubMenu(GetMenu(main()), 1); }
    HMENU viewMenu() const { return GetSubMenu(GetMenu(main()), 2); }

    // Dispatches what is queued until nothing is left.
    void pump();
    // Pumps, waiting for messages, until done() holds; false if it never did.
    bool pumpUntil(const std::function<bool()>& done);

    // List and tree, as the user sees them.
    int rowNamed(const std::string& name) const;
    bool rowChecked(int row) const;
    std::vector<std::string> rowNames() const;
    void selectRow(int row);
    void clearSelection();
    // Selects the tree node of the section, as a click on it would.
    void selectSection(const std::string& key);
    std::string selectedSectionKey() const;
    bool sectionExpanded(const std::string& key) const;

    // Real input through the system's input queue, at a point of a window's client area.
    void click(HWND target, POINT at);
    void rightClick(HWND target, POINT at);
    // A left click in the middle of the row's check box; pumps until the window
    // has handled a user's check.
    bool clickCheckBox(int row);
    POINT checkBoxCentre(int row) const;

    // Sends WM_INITMENUPOPUP for the menu, as opening it does; then reads an item.
    UINT menuItemState(HMENU menu, UINT command);
    UINT commandOf(HMENU menu, const std::string& caption) const;

private:
    HWND childOfClass(HWND parent, const wchar_t* className) const;
    void sendMouse(HWND target, POINT at, DWORD down, DWORD up);

    std::unique_ptr<Backend> backend_;
    std::unique_ptr<win32::MainWindow> window_;
};

}  // namespace lsu::test
