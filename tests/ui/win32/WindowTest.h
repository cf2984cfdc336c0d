#pragma once
// The real main window in the test process, over the real platform of the
// throwaway prefix, driven the way a user drives it and read the way a
// user's tools read it: window messages and input on the display, with the
// message queue pumped until it is idle.

#include <windows.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/logic/CommandTable.h"
#include "ui/win32/MainWindow.h"
#include "win32/Win32Backend.h"

namespace lsu::test {

std::string windowText(HWND window);

// While it lives, answers the modal windows that open: every message box
// with the given button (its title and text are kept), every pop-up menu is
// closed at once (and kept), and the entry or History dialog plays the given steps, one
// each time it becomes active (when it opens, and again when a message box
// over it closes); a dialog that runs out of steps is cancelled, so no test
// can hang in a modal loop.
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

// Every start-up source of the prefix is empty when a test begins.
class WindowTest : public ::testing::Test {
protected:
    WindowTest();
    ~WindowTest() override;

    const ScanPorts& platform() { return backend_->ports(); }
    // A service created through the service manager, deleted again with the harness.
    void seedService(const ServiceConfig& service) { backend_->seedService(service); }

    // The current user's Run key, seeded before the window opens and read back.
    void seedUserRun(const std::string& name, const std::string& command, bool disabled = false);
    std::optional<std::string> userRun(const std::string& name, bool disabled = false);

    // Creates and shows the window in the foreground, then pumps until idle.
    // The window starts programs through the launcher given, or the platform.
    // A window already open is closed first.
    void open(Launcher* launcher = nullptr);
    void close();
    HWND main() const { return window_->handle(); }

    // The window's parts, found by their classes as a user's tool would.
    HWND list() const;
    HWND tree() const;
    HWND toolbar() const;
    HWND pane() const;
    HWND closeButton() const;
    HMENU menu(int index) const { return GetSubMenu(GetMenu(main()), index); }
    HMENU editMenu() const { return menu(kEditMenuIndex); }
    HMENU viewMenu() const { return menu(2); }
    std::string statusText() const;
    // The header strip's labels: the section's key and its description.
    std::vector<std::string> headerTexts() const;

    void pump();
    // Pumps, waiting for messages, until done() holds; false if it never did.
    bool pumpUntil(const std::function<bool()>& done);

    // List and tree, as the user sees them.
    int rowNamed(const std::string& name) const;
    std::vector<std::string> rowNames() const;
    std::string cell(int row, Column column) const;
    bool rowChecked(int row) const;
    int selectedRow() const;
    void selectRow(int row);
    void clearSelection();
    void selectSection(SectionId id);
    std::optional<SectionId> selectedSection() const;

    // Real input through the system's input queue, at a point of a window's
    // client area; each returns once the window has handled it.
    void click(HWND target, POINT at);
    void rightClick(HWND target, POINT at);
    void clickCheckBox(int row) { click(list(), checkBoxCentre(row)); }
    // A double click as the list receives it.
    void doubleClick(POINT at);
    POINT checkBoxCentre(int row) const;
    POINT labelCentre(int row) const;
    void clickToolbarButton(Command command);

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
