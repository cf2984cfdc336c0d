#pragma once
// The main window: the toolbar, the header strip, the folder pane, the
// program list and the status bar, and the commands of its menus. What each
// command decides lives in the portable core; this class turns window
// messages into those calls and shows the results.

#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/Launcher.h"
#include "platform/Ports.h"
#include "platform/Services.h"
#include "ui/win32/FolderPane.h"
#include "ui/win32/HeaderStrip.h"
#include "ui/win32/ImageLists.h"
#include "ui/win32/Menus.h"
#include "ui/win32/ProgramList.h"
#include "ui/win32/SectionLoader.h"

namespace lsu::win32 {

class MainWindow : private FolderPaneOwner {
public:
    MainWindow(const ScanPorts& ports, Launcher& launcher, ServiceStarter& services);
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    bool create(HINSTANCE instance, int show);
    HWND handle() const { return window_; }
    HACCEL accelerators() const { return accelerators_.get(); }

    // What the window shows, for the tests that drive it.
    const EntryList& rows() const { return list_.rows(); }
    int selectedRow() const { return list_.selectedIndex(); }
    bool folderPaneVisible() const { return paneVisible_; }
    bool hidesWindowsServices() const { return hideWindowsServices_; }
    std::optional<SectionId> selectedSection() const { return pane_.selectedSection(); }
    int userCheckEvents() const { return userCheckEvents_; }
    const std::string& headerFolderName() const { return header_.folderName(); }
    const std::string& headerDescription() const { return header_.description(); }
    // A section is being read; its rows are not shown yet.
    bool loading() const { return loader_ && loader_->busy(); }

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void createParts();
    void onCommand(int command);
    void onListEvent(const ProgramList::Event& event);
    void onDpiChanged(UINT dpi, const RECT& suggested);
    void applyDpi();
    void layout();

    // FolderPaneOwner
    void onSectionSelected(SectionId id) override;
    void onFolderPaneClosed() override;
    void onFolderPaneResized() override;

    // The commands.
    void reloadList();
    void showLoadedRows(WPARAM ticket);
    void showStatus(const StartupEntry* about = nullptr);
    void refresh();
    void onCheckBoxChanged(int index);
    void setSelectedChecked(bool checked);
    bool refuseReadOnly(const StartupEntry& entry);
    void deleteSelectedEntry();
    void addEntryFromDialog();
    void editSelectedEntry();
    void runSelectedEntry();
    void showFolderPane(bool visible);
    void toggleGridLines();
    void toggleWindowsServices();
    void showAbout();
    void showContextMenu(int index);

    ScanPorts ports_;
    Launcher& launcher_;
    ServiceStarter& serviceStarter_;
    HINSTANCE instance_ = nullptr;
    HWND window_ = nullptr, toolbar_ = nullptr, status_ = nullptr;
    MainMenu menu_;
    AcceleratorTable accelerators_;
    FontHandle listFont_;
    WindowImages images_;
    HeaderStrip header_;
    FolderPane pane_;
    ProgramList list_;
    Dpi dpi_;
    // Declared after the parts it reports to, so that its thread ends first.
    std::unique_ptr<SectionLoader> loader_;
    // The rows to select once the list is loaded again, the first one found.
    std::vector<std::pair<std::string, SectionId>> wantedSelection_;
    bool paneVisible_ = true;
    bool gridLines_ = false;
    // Windows' own services are left out of the list unless the user asks.
    bool hideWindowsServices_ = true;
    // That switching a service off does not stop it is said once.
    bool toldServiceKeepsRunning_ = false;
    int userCheckEvents_ = 0;
};

}  // namespace lsu::win32
