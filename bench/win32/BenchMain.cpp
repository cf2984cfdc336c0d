// Where the user waits, measured on Wine's real registry, files and windows:
// a click on "All" until the list holds every row and is painted, the start
// of the program until its window shows the tree, and the changes a user
// makes, each against the least the system allows in the same run. Every
// figure is the best of a few rounds.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "BareLimit.h"
#include "LiveBytes.h"
#include "Workload.h"
#include "operations/Operations.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Platform.h"
#include "scanners/SectionLoading.h"
#include "ui/win32/MainWindow.h"
#include "ui/win32/ProgramList.h"

namespace lsu::bench {
namespace {

constexpr int kRounds = 3;

double now() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The best of the rounds, in milliseconds; prepare runs before each round, untimed.
double bestOf(const std::function<void()>& work, const std::function<void()>& prepare = {}) {
    double best = 1e30;
    for (int round = 0; round < kRounds; ++round) {
        if (prepare) prepare();
        const double start = now();
        work();
        best = std::min(best, (now() - start) * 1e3);
    }
    return best;
}

void pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Pumps until done() holds, then paints what is still to be painted.
void pumpUntil(HWND window, const std::function<bool()>& done) {
    while (!done()) {
        pump();
        if (!done()) MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    UpdateWindow(window);
}

HWND childOfClass(HWND parent, const wchar_t* className) { return FindWindowExW(parent, nullptr, className, nullptr); }

int itemCount(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

void selectSection(HWND tree, SectionId id) {
    std::function<HTREEITEM(HTREEITEM)> find = [&](HTREEITEM node) -> HTREEITEM {
        for (; node; node = TreeView_GetNextSibling(tree, node)) {
            TVITEMW item = {};
            item.mask = TVIF_PARAM;
            item.hItem = node;
            TreeView_GetItem(tree, &item);
            if (static_cast<SectionId>(item.lParam) == id) return node;
            if (HTREEITEM below = find(TreeView_GetChild(tree, node))) return below;
        }
        return nullptr;
    };
    TreeView_SelectItem(tree, find(TreeView_GetRoot(tree)));
}

HWND makeBareWindow() {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"LStartUp.BareBench";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"bare", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                  700, 500, nullptr, nullptr, windowClass.hInstance, nullptr);
    HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 680, 460, window,
                                nullptr, windowClass.hInstance, nullptr);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    for (int column = 0; column < kColumnCount; ++column) {
        LVCOLUMNW definition = {};
        definition.mask = LVCF_TEXT | LVCF_WIDTH;
        definition.cx = 120;
        definition.pszText = const_cast<wchar_t*>(L"column");
        SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&definition));
    }
    UpdateWindow(window);
    return window;
}

struct ShowFigures {
    double bare = 0, scan = 0, load = 0, fill = 0, paint = 0, click = 0;
    std::size_t rows = 0;
    double bytesPerRow = 0;
};

ShowFigures measureShowing(Win32Platform& platform) {
    ShowFigures figures;
    HWND bareWindow = makeBareWindow();
    HWND bareList = childOfClass(bareWindow, WC_LISTVIEWW);
    figures.bare = bestOf([&] {
        std::vector<BareRow> rows = bareReadEverySource();
        bareInsert(bareList, rows);
        figures.rows = rows.size();
    });
    DestroyWindow(bareWindow);

    figures.scan = bestOf([&] { readThroughPlatform(platform); });
    EntryList rows;
    figures.load = bestOf([&] { rows = loadSection(platform, SectionId::AllPrograms).rows; });
    const std::size_t before = liveHeapBytes();
    {
        auto held = loadSection(platform, SectionId::AllPrograms);
        figures.bytesPerRow =
            static_cast<double>(liveHeapBytes() - before) / static_cast<double>(std::max<std::size_t>(1, held.rows.size()));
    }

    win32::MainWindow window(platform);
    window.create(GetModuleHandleW(nullptr), SW_SHOWNOACTIVATE);
    HWND main = window.handle();
    HWND list = childOfClass(main, WC_LISTVIEWW);
    HWND tree = childOfClass(childOfClass(main, L"LStartUp.MenuTree"), WC_TREEVIEWW);
    const int expected = static_cast<int>(rows.size());
    pumpUntil(main, [&] { return itemCount(list) == expected; });
    figures.click = bestOf(
        [&] {
            selectSection(tree, SectionId::AllPrograms);
            pumpUntil(main, [&] { return itemCount(list) == expected; });
        },
        [&] {
            selectSection(tree, SectionId::UserRunOnce);
            pumpUntil(main, [&] { return itemCount(list) != expected; });
        });
    DestroyWindow(main);
    pump();

    HWND fillWindow = makeBareWindow();
    win32::ProgramList programList;
    programList.create(fillWindow, GetModuleHandleW(nullptr), 1);
    MoveWindow(programList.handle(), 0, 0, 680, 460, TRUE);
    figures.fill = bestOf([&] { programList.show(rows); });
    figures.paint = bestOf([&] {
        InvalidateRect(programList.handle(), nullptr, TRUE);
        UpdateWindow(programList.handle());
    });
    DestroyWindow(fillWindow);
    return figures;
}

}  // namespace
}  // namespace lsu::bench

int wmain() {
    using namespace lsu::bench;
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    {
        lsu::Win32Platform platform;
        std::printf("| crowd | entries | rows | bare limit | click → full list | ratio | scan | rows and existence "
                    "| fill | paint | bytes per row |\n|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
        for (Crowd crowd : {Crowd::RegistryHeavy, Crowd::Mixed}) {
            double clickAt1000 = 0;
            for (std::size_t entries : {1000u, 10000u}) {
                seedCrowd(platform, crowd, entries);
                const ShowFigures f = measureShowing(platform);
                clearCrowd(platform, crowd, entries);
                std::printf("| %s | %zu | %zu | %.0f ms | %.0f ms | %.2f | %.0f ms | %.0f ms | %.0f ms | %.0f ms | %.0f |\n",
                            crowdName(crowd), entries, f.rows, f.bare, f.click, f.click / f.bare, f.scan,
                            f.load - f.scan, f.fill, f.paint, f.bytesPerRow);
                if (entries == 1000) clickAt1000 = f.click;
                else std::printf("growth 10,000 / 1,000 (%s): %.1f\n", crowdName(crowd), f.click / clickAt1000);
                std::fflush(stdout);
            }
        }
    }
    CoUninitialize();
    return 0;
}
