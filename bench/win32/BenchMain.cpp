// Load and fill costs on Wine's real registry, files and list view, timed
// with the performance counter: the best of a few rounds, printed as figures.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "LiveBytes.h"
#include "Workload.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/WideText.h"
#include "scanners/SectionLoading.h"
#include "ui/win32/ProgramList.h"

namespace {

constexpr int kRounds = 3;

double secondsOf(const std::function<void()>& work) {
    LARGE_INTEGER frequency, start, stop;
    QueryPerformanceFrequency(&frequency);
    double best = 0;
    for (int round = 0; round < kRounds; ++round) {
        QueryPerformanceCounter(&start);
        work();
        QueryPerformanceCounter(&stop);
        const double seconds = static_cast<double>(stop.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
        if (round == 0 || seconds < best) best = seconds;
    }
    return best;
}

// Counts box changes that reach the window as a user's check.
struct CheckWatch {
    lsu::win32::ProgramList* list = nullptr;
    int userCheckEvents = 0;
};

LRESULT CALLBACK watchProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY) {
        auto* watch = reinterpret_cast<CheckWatch*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
        if (watch && watch->list && header.hwndFrom == watch->list->handle() &&
            watch->list->interpret(header).kind == lsu::win32::ProgramList::Event::UserCheck)
            ++watch->userCheckEvents;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND makeListView(HWND parent) {
    HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 1000, 700, parent,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT,
                 LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    const auto& columns = lsu::entryColumns();
    for (std::size_t i = 0; i < columns.size(); ++i) {
        std::wstring header = lsu::win32::widen(columns[i].header);
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = 150;
        column.pszText = header.data();
        SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
    return list;
}

// The least a fill can do: the same texts, already wide, the same messages,
// drawing suspended as the real fill does (without, 10,000 lines take minutes
// in a window on the screen).
void bareInsert(HWND list, std::vector<std::vector<std::wstring>>& texts) {
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    SendMessageW(list, LVM_SETITEMCOUNT, texts.size(), 0);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(i);
        item.pszText = texts[i][0].data();
        const auto row = SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        for (std::size_t column = 1; column < texts[i].size(); ++column) {
            LVITEMW cell = {};
            cell.iSubItem = static_cast<int>(column);
            cell.pszText = texts[i][column].data();
            SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
        }
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void measureFill(const lsu::EntryList& rows) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = watchProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"LStartUp.BenchWindow";
    RegisterClassW(&windowClass);
    CheckWatch watch;
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"bench", WS_OVERLAPPEDWINDOW, 0, 0, 1024, 768,
                                  nullptr, nullptr, windowClass.hInstance, nullptr);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&watch));
    lsu::win32::ProgramList programList;
    programList.create(window, windowClass.hInstance, 1);
    watch.list = &programList;
    HWND list = makeListView(window);
    // A fill happens in a window on the screen, where every change may be drawn.
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);
    const auto columns = lsu::entryColumns().size();
    std::vector<std::vector<std::wstring>> texts(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        for (std::size_t column = 0; column < columns; ++column)
            texts[i].push_back(lsu::win32::widen(lsu::cellText(rows[i], lsu::entryColumns()[column].column)));
    const double fill = secondsOf([&] { programList.show(rows); });
    const int filled = static_cast<int>(SendMessageW(programList.handle(), LVM_GETITEMCOUNT, 0, 0));
    const double bare = secondsOf([&] { bareInsert(list, texts); });
    std::printf("fill %zu rows: ProgramList %.1f ms, bare insert %.1f ms, ratio %.2f, rows in list %d, "
                "user check events %d\n",
                rows.size(), fill * 1e3, bare * 1e3, fill / bare, filled, watch.userCheckEvents);
    DestroyWindow(window);
}

}  // namespace

int wmain() {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
    int status = 0;
    {
        lsu::Win32Platform platform;
        double load1000 = 0, load10000 = 0;
        lsu::EntryList largest;
        for (std::size_t entries : {100u, 1000u, 10000u}) {
            lsu::bench::seedCrowdedMachine(platform, entries);
            std::size_t rows = 0, probes = 0;
            const double load = secondsOf([&] {
                auto result = lsu::loadSection(platform, lsu::SectionId::AllPrograms);
                rows = result.rows.size();
                probes = result.probes;
            });
            std::size_t items = 0;
            const double bare = secondsOf([&] { items = lsu::bench::bareRead(platform); });
            const std::size_t before = lsu::bench::liveHeapBytes();
            auto held = lsu::loadSection(platform, lsu::SectionId::AllPrograms);
            const double bytes = static_cast<double>(lsu::bench::liveHeapBytes() - before);
            if (held.rows.size() < entries) status = 1;
            std::printf("load %zu entries: %zu rows, loadPrograms %.1f ms, bare read %.1f ms (%zu items), "
                        "ratio %.2f, %.2f probes per row, %.0f bytes per row\n",
                        entries, rows, load * 1e3, bare * 1e3, items, load / bare,
                        rows ? static_cast<double>(probes) / static_cast<double>(rows) : 0.0,
                        rows ? bytes / static_cast<double>(rows) : 0.0);
            lsu::bench::clearCrowdedMachine(platform, entries);
            if (entries == 1000) load1000 = load;
            if (entries == 10000) {
                load10000 = load;
                largest = std::move(held.rows);
            }
        }
        std::printf("growth 10,000 / 1,000 entries: %.2f\n", load10000 / load1000);
        measureFill(largest);
    }
    CoUninitialize();
    return status;
}
