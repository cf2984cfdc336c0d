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

#include "operations/journal/ChangeJournal.h"
#include "operations/journal/InventorySnapshot.h"
#include "platform/Launcher.h"
#include "platform/Ports.h"
#include "platform/Services.h"
#include "ui/logic/ChangeMessages.h"
#include "ui/logic/CommandTable.h"
#include "ui/win32/FolderPane.h"
#include "ui/win32/HeaderStrip.h"
#include "ui/win32/ImageLists.h"
#include "ui/win32/ProgramList.h"
#include "ui/win32/SectionLoader.h"
#include "ui/win32/WindowObject.h"

namespace lsu::win32 {

class MainWindow : public WindowObject, private FolderPaneOwner {
public:
    MainWindow(const ScanPorts& ports, Launcher& launcher);

    // Opens the window showing the section given.
    bool create(HINSTANCE instance, int show, SectionId firstShown = SectionId::AllPrograms);
    HACCEL accelerators() const { return accelerators_.get(); }

private:
    std::optional<LRESULT> onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void onHandlerFailed(const char* reason) noexcept override;
    void createParts();
    void onCommand(Command command);
    void onNotify(NMHDR& header);
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
    void setStatus(const std::string& text);
    void refresh();
    void onCheckBoxChanged(int index);
    void setSelectedChecked(bool checked);
    bool refuseKept(const StartupEntry& entry);
    void deleteSelectedEntry();
    void addEntryFromDialog();
    void editSelectedEntry();
    void runSelectedEntry();
    // The last change recorded, put back.
    void undoLastChange();
    void showHistory();
    void keepWhatWasSeen();
    void showFolderPane(bool visible);
    void toggleGridLines();
    void toggleWindowsServices();
    void showContextMenu(int index);
    void restartElevated();
    // Shows what a change left to say; one that needs administrator rights
    // offers to restart with them.
    void tell(const std::optional<UserMessage>& message);

    ScanPorts ports_;
    // Every change the window makes is recorded here before it is made.
    ChangeJournal journal_;
    // What the window showed when it last closed; the rows added since, or
    // whose command line changed, are marked.
    std::optional<InventorySnapshot> lastLook_;
    Launcher& launcher_;
    HINSTANCE instance_ = nullptr;
    HWND toolbar_ = nullptr, status_ = nullptr;
    HMENU menu_ = nullptr;
    BitmapHandle shield_;  // the menu's, while the menu lives
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
};

}  // namespace lsu::win32
