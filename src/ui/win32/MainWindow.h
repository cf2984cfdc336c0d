#pragma once
// The main window frmStartup: toolbar, header strip, folder pane, program
// list and status bar. What each handler decides lives in the portable core;
// this class turns window messages into those calls and shows the results.

#include <windows.h>

#include <optional>
#include <string>

#include "platform/Platform.h"
#include "scanners/SectionLoading.h"
#include "ui/win32/ImageLists.h"

namespace lsu::win32 {

class MainWindow {
public:
    explicit MainWindow(Platform& platform);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    bool create(HINSTANCE instance, int show);
    HWND handle() const { return window_; }
    HACCEL accelerators() const { return accelerators_; }

    // The handlers, named as the window's events.
    void Form_Load();
    void mtFolders_NodeClick();
    void mnuRefresh_Click();
    void lvPrograms_ItemCheck(int row);
    void mnuDelete_Click();
    // Ask for an entry in the entry dialog, write it, reload the list and
    // select the entry when the section shows it.
    void mnuAdd_Click();
    void mnuProperties_Click();
    void lvPrograms_DblClick(POINT at);  // at: in the list's client area
    // mnuEnable_Click and mnuDisable_Click: set the box, then handle it as a check.
    void setRowChecked(int row, bool checked);
    void mnuFolderBar_Click();
    void mtFolders_CloseMe();
    void mnuGrid_Click();
    void mnuRun_Click();
    void mnuAbout_Click();
    void mnuEdit_Click(HMENU menu);
    void Form_Resize();

    const EntryList& rows() const { return rows_; }
    int selectedRow() const;
    bool folderPaneVisible() const { return paneVisible_; }
    int userCheckEvents() const { return userCheckEvents_; }
    // What the header strip shows: the section key and its description.
    const std::string& headerFolderName() const { return folderName_; }
    const std::string& headerDescription() const { return description_; }

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK headerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK paneProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handlePane(HWND pane, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onNotify(const NMHDR& header);
    void onCommand(int id);
    void createChildren();
    void createMenus();
    void loadPrograms();
    void showFolderPane(bool visible);
    std::optional<StartupEntry> selectedEntry() const;
    // After a reload rows are found again by their name and section.
    bool selectEntry(const std::string& name, const std::string& section);
    void paintHeader(HWND header);
    int twipsToPixels(int twips) const;
    int pixelsToTwips(int pixels) const;
    void recreateFonts();
    void replaceImages();  // at the window's DPI, after it changed

    Platform& platform_;
    HINSTANCE instance_ = nullptr;
    HWND window_ = nullptr, toolbar_ = nullptr, header_ = nullptr, pane_ = nullptr, tree_ = nullptr,
         closeButton_ = nullptr, list_ = nullptr, status_ = nullptr, paneCaption_ = nullptr;
    HMENU menuBar_ = nullptr, editMenu_ = nullptr, viewMenu_ = nullptr;
    HACCEL accelerators_ = nullptr;
    HFONT listFont_ = nullptr, headerBoldFont_ = nullptr, headerFont_ = nullptr;
    HBRUSH headerBrush_ = nullptr;
    WindowImages images_;
    EntryList rows_;
    std::string folderName_ = "Folders", description_ = "Description";
    bool paneVisible_ = true;
    bool gridLines_ = false;
    bool fillingList_ = false;  // program changes to the list are not user checks
    bool dragging_ = false;
    int dragOffset_ = 0;
    int paneWidthTwips_ = 2910;
    int userCheckEvents_ = 0;
    UINT dpi_ = 96;
};

}  // namespace lsu::win32
