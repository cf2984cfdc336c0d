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

#include "ui/win32/MainWindow.h"
#include "win32/Win32Backend.h"

namespace lsu::test {

// While it lives, answers the modal windows that open: every message box
// with the given button (its title and text are kept), every pop-up menu is
// closed at once (and kept), and the entry dialog plays the given steps, one
// each time it becomes active (when it opens, and again when a message box
// over it closes); a dialog that runs out of steps is cancelled, so no test
// can hang in a modal loop.
std::string windowText(HWND window);

class ModalWatch {
public:
    using Step = std::function<void(HWND dialog)>;
    explicit ModalWatch(int answer = IDOK, std::vector<Step> dialogSteps = {});
    ~ModalWatch();
    ModalWatch(const ModalWatch&) = delete;
    ModalWatch& operator=(const ModalWatch&) = delete;

    const std::vector<std::string>& boxTitles() const { return titles_; }
    const std::vector<std::string>& boxTexts() const { return texts_; }
    const std::vector<HMENU>& popupMenus() const { return popups_; }
    std::size_t stepsPlayed() const { return played_; }

private:
    static LRESULT CALLBACK onCbt(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK onCallWindow(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK onTimer(HWND, UINT, UINT_PTR timer, DWORD);
    void onActivate(HWND window);

    int answer_;
    std::vector<Step> steps_;
    std::size_t played_ = 0;
    HWND dialog_ = nullptr;
    HHOOK cbt_ = nullptr, callWindow_ = nullptr;
    std::vector<std::string> titles_, texts_;
    std::vector<HMENU> popups_;
};

class WindowHarness {
public:
    WindowHarness();  // every start-up source of the prefix emptied
    ~WindowHarness();
    WindowHarness(const WindowHarness&) = delete;
    WindowHarness& operator=(const WindowHarness&) = delete;

    const ScanPorts& platform() { return backend_->ports(); }
    // A service created through the service manager, deleted again with the harness.
    void seedService(const ServiceConfig& service) { backend_->seedService(service); }

    // The current user's Run key, seeded before the window opens and read back.
    void seedUserRun(const std::string& name, const std::string& command, bool disabled = false);
    std::optional<std::string> userRun(const std::string& name, bool disabled = false);

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
    std::string statusText() const;

    void pump();
    // Pumps, waiting for messages, until done() holds; false if it never did.
    bool pumpUntil(const std::function<bool()>& done);

    // List and tree, as the user sees them.
    int rowNamed(const std::string& name) const;
    std::vector<std::string> rowNames() const;
    std::string cell(int row, int column) const;
    bool rowChecked(int row) const;
    void selectRow(int row);
    void clearSelection();
    void selectSection(SectionId id);
    std::optional<SectionId> selectedSection() const { return window_->selectedSection(); }

    // Real input through the system's input queue, at a point of a window's client area.
    void click(HWND target, POINT at);
    void rightClick(HWND target, POINT at);
    // A left click in the middle of the row's check box; pumps until the
    // window has handled a user's check.
    bool clickCheckBox(int row);
    POINT checkBoxCentre(int row) const;
    POINT labelCentre(int row) const;
    POINT toolbarButtonCentre(int index) const;

    // Opens the menu's item as the menu bar would (its state first), and
    // reads an item's state or command.
    void choose(HMENU menu, const std::string& caption);
    UINT menuItemState(HMENU menu, const std::string& caption);
    UINT commandOf(HMENU menu, const std::string& caption) const;

private:
    void sendMouse(HWND target, POINT at, DWORD down, DWORD up);

    std::unique_ptr<Win32Backend> backend_;
    std::unique_ptr<win32::MainWindow> window_;
};

}  // namespace lsu::test
