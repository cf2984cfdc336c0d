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
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "BareLimit.h"
#include "LiveBytes.h"
#include "ProcessStart.h"
#include "Workload.h"
#include "catalog/DisabledStores.h"
#include "catalog/ExistenceCheck.h"
#include "operations/Operations.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Platform.h"
#include "scanners/SectionLoading.h"
#include "ui/logic/CommandTable.h"
#include "ui/logic/WindowTexts.h"
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

// Pumps until done() holds, then paints what is still to be painted. A
// benchmark that waits for what never comes says so and ends.
void pumpUntil(HWND window, const std::function<bool()>& done, const char* waitingFor) {
    const double deadline = now() + 120;
    while (!done()) {
        pump();
        if (!done()) MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        if (now() > deadline) {
            HWND list = FindWindowExW(window, nullptr, WC_LISTVIEWW, nullptr);
            std::printf("gave up waiting for %s; the list holds %d rows\n", waitingFor,
                        static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)));
            std::fflush(stdout);
            std::exit(3);
        }
    }
    UpdateWindow(window);
}

HWND childOfClass(HWND parent, const wchar_t* className) { return FindWindowExW(parent, nullptr, className, nullptr); }

int itemCount(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

// The window has shown the rows of the section last asked for.
bool loaded(HWND window) {
    wchar_t text[64] = {};
    SendMessageW(childOfClass(window, STATUSCLASSNAMEW), SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
    return win32::narrow(text) != kLoadingStatus;
}

int rowNamed(HWND list, const std::wstring& name) {
    for (int row = 0; row < itemCount(list); ++row) {
        wchar_t text[256] = {};
        ListView_GetItemText(list, row, 0, text, static_cast<int>(std::size(text)));
        if (name == text) return row;
    }
    return -1;
}

void sendCommand(HWND window, Command command) { SendMessageW(window, WM_COMMAND, static_cast<WPARAM>(command), 0); }

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

// The program list of the fill's figure, which its bare window asks for its cells.
win32::ProgramList* filledList = nullptr;

LRESULT CALLBACK bareWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY && filledList) {
        filledList->interpret(*reinterpret_cast<NMHDR*>(lParam));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND makeBareWindow() {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = bareWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"LStartUp.BareBench";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"bare", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 700,
                                  500, nullptr, nullptr, windowClass.hInstance, nullptr);
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
    double bare = 0, scan = 0, load = 0, existence = 0, publisher = 0, fill = 0, paint = 0, click = 0;
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

    figures.scan = bestOf([&] { readThroughPlatform(portsOf(platform)); });
    EntryList rows;
    figures.load = bestOf([&] { rows = loadSection(portsOf(platform), SectionId::AllPrograms).rows; });
    // Within the load: the existence test of every row, and reading the
    // publisher of each program it found, once per path. A Startup folder's
    // file is its own program, found where it stands.
    std::vector<std::string> programs;
    figures.existence = bestOf([&] {
        ExistenceCheck check(platform, platform, platform);
        programs.clear();
        // The scanner knows each folder it lists; here each is looked up once.
        std::map<std::pair<SectionId, bool>, std::string> folders;
        for (const StartupEntry& row : rows) {
            if (row.type == EntryType::File && sourceAs<FolderSource>(row.section)) {
                auto [at, inserted] = folders.try_emplace({row.section, row.enabled});
                if (inserted) at->second = entryFolder(platform, row);
                programs.push_back(at->second + "\\" + row.fileName);
            } else if (auto program = check.resolveProgram(row.commandLine)) {
                programs.push_back(*program);
            }
        }
    });
    figures.publisher = bestOf([&] {
        ExistenceCheck check(platform, platform, platform);
        for (const std::string& program : programs) check.publisherOf(program);
    });
    const std::size_t before = liveHeapBytes();
    {
        auto held = loadSection(portsOf(platform), SectionId::AllPrograms);
        figures.bytesPerRow = static_cast<double>(liveHeapBytes() - before) /
                              static_cast<double>(std::max<std::size_t>(1, held.rows.size()));
    }

    win32::MainWindow window(portsOf(platform), platform);
    window.create(GetModuleHandleW(nullptr), SW_SHOWNOACTIVATE);
    HWND main = window.handle();
    HWND list = childOfClass(main, WC_LISTVIEWW);
    HWND tree = childOfClass(childOfClass(main, L"LStartUp.MenuTree"), WC_TREEVIEWW);
    const int expected = static_cast<int>(rows.size());
    pumpUntil(
        main, [&] { return itemCount(list) == expected; }, "the first load");
    figures.click = bestOf(
        [&] {
            selectSection(tree, SectionId::AllPrograms);
            pumpUntil(
                main, [&] { return itemCount(list) == expected; }, "every row after a click on All");
        },
        [&] {
            selectSection(tree, SectionId::UserRunOnce);
            pumpUntil(
                main, [&] { return itemCount(list) != expected; }, "another section's rows");
        });
    DestroyWindow(main);
    pump();

    HWND fillWindow = makeBareWindow();
    win32::ProgramList programList;
    filledList = &programList;
    programList.create(fillWindow, GetModuleHandleW(nullptr), 1);
    MoveWindow(programList.handle(), 0, 0, 680, 460, TRUE);
    figures.fill = bestOf([&] { programList.show(rows); });
    figures.paint = bestOf([&] {
        InvalidateRect(programList.handle(), nullptr, TRUE);
        UpdateWindow(programList.handle());
    });
    DestroyWindow(fillWindow);
    filledList = nullptr;
    return figures;
}

// A user who answers Yes.
class YesPrompts : public UserPrompts {
public:
    bool ask(const std::string&, const std::string&, MessageKind) override { return true; }
};

struct ChangeFigures {
    double check = 0, add = 0, remove = 0, bareCheck = 0, bareAdd = 0, bareRemove = 0;
};

std::optional<StartupEntry> rowNamed(Win32Platform& platform, const std::string& name) {
    for (auto& row : loadSection(portsOf(platform), SectionId::UserRun).rows)
        if (row.name == name) return row;
    return std::nullopt;
}

struct StartFigures {
    double program = 0, emptyWindow = 0;
};

StartFigures measureStart() {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring folder(self);
    folder.resize(folder.find_last_of(L'\\') + 1);
    const std::wstring program = folder + L"LStartUp.exe";
    StartFigures figures;
    figures.program = bestOf([&] { startUntilShown(program.c_str(), nullptr, L"LStartUp.MainWindow", true); });
    figures.emptyWindow = bestOf([&] { startUntilShown(self, kEmptyWindowArgument, nullptr, false); });
    return figures;
}

// Bare: the same registry writes with plain calls, and one bare reload.
double bareChange(const std::function<void(HKEY run, HKEY parked)>& writes) {
    HWND bareWindow = makeBareWindow();
    HWND bareList = childOfClass(bareWindow, WC_LISTVIEWW);
    HKEY run = nullptr, parked = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0, nullptr, 0,
                    KEY_ALL_ACCESS, nullptr, &run, nullptr);
    RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run-", 0, nullptr, 0,
                    KEY_ALL_ACCESS, nullptr, &parked, nullptr);
    const double cost = bestOf([&] {
        writes(run, parked);
        std::vector<BareRow> rows = bareReadEverySource();
        bareInsert(bareList, rows);
    });
    RegCloseKey(run);
    RegCloseKey(parked);
    DestroyWindow(bareWindow);
    return cost;
}

ChangeFigures measureChanges(Win32Platform& platform) {
    ChangeFigures figures;
    const std::wstring name = L"Bench change";
    const std::wstring command = L"C:\\nowhere\\change.exe";
    const DWORD bytes = static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t));
    auto data = reinterpret_cast<const BYTE*>(command.c_str());
    figures.bareAdd = bareChange([&](HKEY run, HKEY) { RegSetValueExW(run, name.c_str(), 0, REG_SZ, data, bytes); });
    figures.bareRemove = bareChange([&](HKEY run, HKEY) { RegDeleteValueW(run, name.c_str()); });
    figures.bareCheck = bareChange([&](HKEY run, HKEY parked) {
        RegSetValueExW(parked, name.c_str(), 0, REG_SZ, data, bytes);
        RegDeleteValueW(run, name.c_str());
        RegSetValueExW(run, name.c_str(), 0, REG_SZ, data, bytes);
        RegDeleteValueW(parked, name.c_str());
    });

    win32::MainWindow window(portsOf(platform), platform);
    window.create(GetModuleHandleW(nullptr), SW_SHOWNOACTIVATE);
    HWND main = window.handle();
    HWND list = childOfClass(main, WC_LISTVIEWW);
    pumpUntil(
        main, [&] { return loaded(main); }, "the first load");
    YesPrompts prompts;
    const EntryForm form{win32::narrow(name), win32::narrow(command), SectionId::UserRun};
    // Each change is counted from the list as it stands just before it:
    // Wine may run and remove RunOnce entries while the benchmark runs.
    int shown = 0;
    auto refreshed = [&] {
        sendCommand(main, Command::Refresh);
        pumpUntil(
            main, [&] { return loaded(main); }, "the reload before a change");
        shown = itemCount(list);
    };
    auto reloaded = [&](int change) {
        sendCommand(main, Command::Refresh);
        pumpUntil(
            main, [&] { return loaded(main) && itemCount(list) == shown + change; }, "the reload after a change");
    };
    figures.add = bestOf(
        [&] {
            (void)addEntry(portsOf(platform), prompts, form);
            reloaded(+1);
        },
        [&] {
            if (auto row = rowNamed(platform, form.name)) (void)deleteEntry(portsOf(platform), *row);
            refreshed();
        });
    figures.check = bestOf(
        [&] {
            sendCommand(main, Command::Disable);
            sendCommand(main, Command::Enable);
        },
        [&] {
            ListView_SetItemState(list, rowNamed(list, name), LVIS_SELECTED | LVIS_FOCUSED,
                                  LVIS_SELECTED | LVIS_FOCUSED);
        });
    figures.remove = bestOf(
        [&] {
            if (auto row = rowNamed(platform, form.name)) (void)deleteEntry(portsOf(platform), *row);
            reloaded(-1);
        },
        [&] {
            (void)addEntry(portsOf(platform), prompts, form);
            refreshed();
        });
    DestroyWindow(main);
    pump();
    return figures;
}

// The services section with this many services created besides the
// prefix's own, against the bare calls of the service manager.
void measureServices(Win32Platform& platform, int created) {
    SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CREATE_SERVICE);
    std::vector<std::wstring> names;
    for (int i = 0; i < created; ++i) {
        const std::wstring name = L"LsuBench" + std::to_wstring(i);
        const std::wstring image = L"C:\\nowhere\\" + name + L".exe -service";
        SC_HANDLE service =
            CreateServiceW(manager, name.c_str(), (L"Bench service " + std::to_wstring(i)).c_str(), SERVICE_ALL_ACCESS,
                           SERVICE_WIN32_OWN_PROCESS, SERVICE_AUTO_START, SERVICE_ERROR_NORMAL, image.c_str(), nullptr,
                           nullptr, nullptr, nullptr, nullptr);
        if (!service) continue;
        names.push_back(name);
        CloseServiceHandle(service);
    }
    std::size_t rows = 0, bareRows = 0;
    const double load = bestOf([&] { rows = loadSection(portsOf(platform), SectionId::ServicesGroup).rows.size(); });
    const double bare = bestOf([&] { bareRows = bareReadServiceRows().size(); });
    std::printf(
        "\n| services created | rows (bare) | bare limit | load of Services | ratio |\n|---:|---:|---:|---:|---:|\n"
        "| %zu | %zu (%zu) | %.1f ms | %.1f ms | %.2f |\n",
        names.size(), rows, bareRows, bare, load, load / bare);
    for (const std::wstring& name : names) {
        SC_HANDLE service = OpenServiceW(manager, name.c_str(), DELETE);
        if (service) DeleteService(service);
        if (service) CloseServiceHandle(service);
    }
    CloseServiceHandle(manager);
}

}  // namespace
}  // namespace lsu::bench

int wmain(int argc, wchar_t** argv) {
    using namespace lsu::bench;
    if (argc > 1 && std::wstring(argv[1]) == kEmptyWindowArgument) return showEmptyWindow();
    // The list's figures at 10,000 entries of the registry-heavy crowd alone:
    // minutes instead of the whole run.
    const bool oneCase = argc > 1 && std::wstring(argv[1]) == L"--registry-heavy-10000";
    const std::vector<Crowd> crowds =
        oneCase ? std::vector{Crowd::RegistryHeavy} : std::vector{Crowd::RegistryHeavy, Crowd::Mixed};
    const std::vector<std::size_t> sizes =
        oneCase ? std::vector<std::size_t>{10000} : std::vector<std::size_t>{1000, 10000};
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    {
        lsu::Win32Platform platform;
        if (argc > 1 && std::wstring(argv[1]) == L"--services") {
            measureServices(platform, 300);
            CoUninitialize();
            return 0;
        }
        std::printf(
            "| crowd | entries | rows | bare limit | click → full list | ratio | scan | rows, existence, "
            "publisher | of which existence | of which publisher | fill | paint | bytes held per row "
            "|\n|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---|\n");
        std::vector<std::pair<Crowd, StartFigures>> starts;
        std::vector<std::pair<Crowd, ChangeFigures>> changes;
        for (Crowd crowd : crowds) {
            double clickAt1000 = 0;
            for (std::size_t entries : sizes) {
                seedCrowd(portsOf(platform), crowd, entries);
                const ShowFigures f = measureShowing(platform);
                std::printf(
                    "| %s | %zu | %zu | %.0f ms | %.0f ms | %.2f | %.0f ms | %.0f ms | %.1f ms | %.1f ms | %.0f ms "
                    "| %.0f ms | %.0f |\n",
                    crowdName(crowd), entries, f.rows, f.bare, f.click, f.click / f.bare, f.scan, f.load - f.scan,
                    f.existence, f.publisher, f.fill, f.paint, f.bytesPerRow);
                if (entries == 1000) {
                    clickAt1000 = f.click;
                } else if (!oneCase) {
                    std::printf("growth 10,000 / 1,000 (%s): %.1f\n", crowdName(crowd), f.click / clickAt1000);
                    starts.emplace_back(crowd, measureStart());
                    changes.emplace_back(crowd, measureChanges(platform));
                }
                clearCrowd(portsOf(platform), crowd, entries);
                std::fflush(stdout);
            }
        }
        std::printf(
            "\n| crowd (10,000 entries) | start → window with tree | empty window | beyond Wine's start |\n"
            "|---|---:|---:|---:|\n");
        for (const auto& [crowd, f] : starts)
            std::printf("| %s | %.0f ms | %.0f ms | %.0f ms |\n", crowdName(crowd), f.program, f.emptyWindow,
                        f.program - f.emptyWindow);
        std::printf(
            "\n| crowd (10,000 entries) | change | list updated | bare writes + reload | ratio |\n"
            "|---|---|---:|---:|---:|\n");
        for (const auto& [crowd, f] : changes) {
            std::printf("| %s | check box (disable and enable) | %.0f ms | %.0f ms | %.2f |\n", crowdName(crowd),
                        f.check, f.bareCheck, f.check / f.bareCheck);
            std::printf("| %s | add | %.0f ms | %.0f ms | %.2f |\n", crowdName(crowd), f.add, f.bareAdd,
                        f.add / f.bareAdd);
            std::printf("| %s | delete | %.0f ms | %.0f ms | %.2f |\n", crowdName(crowd), f.remove, f.bareRemove,
                        f.remove / f.bareRemove);
        }
    }
    CoUninitialize();
    return 0;
}
