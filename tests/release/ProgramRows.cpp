#include "release/ProgramRows.h"

#include <commctrl.h>

#include <vector>

namespace lsu::test {

namespace {

constexpr DWORD kPatienceMs = 60000;
constexpr int kTextChars = 1024;

struct ProgramWindows {
    DWORD processId = 0;
    HWND main = nullptr;
    HWND box = nullptr;
};

std::wstring classOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

BOOL CALLBACK collectTopLevel(HWND window, LPARAM context) {
    auto* found = reinterpret_cast<ProgramWindows*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != found->processId || !IsWindowVisible(window)) return TRUE;
    const std::wstring name = classOf(window);
    if (name == L"LStartUp.MainWindow") found->main = window;
    if (name == L"#32770") found->box = window;
    return TRUE;
}

BOOL CALLBACK findList(HWND window, LPARAM context) {
    if (classOf(window) != WC_LISTVIEWW) return TRUE;
    *reinterpret_cast<HWND*>(context) = window;
    return FALSE;
}

// Memory in the other process, for the controls there to write their texts to.
class RemoteMemory {
public:
    RemoteMemory(HANDLE process, std::size_t size)
        : process_(process),
          address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
    ~RemoteMemory() {
        if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;
    char* address() const { return static_cast<char*>(address_); }

private:
    HANDLE process_;
    void* address_;
};

// Sends `message` with a structure that names a text buffer; `prepare` fills
// the structure, given where the buffer lies in the other process.
template <typename Item, typename Prepare>
std::wstring remoteText(HANDLE process, HWND control, UINT message, WPARAM wParam, Prepare prepare) {
    RemoteMemory memory(process, sizeof(Item) + kTextChars * sizeof(wchar_t));
    wchar_t* remoteBuffer = reinterpret_cast<wchar_t*>(memory.address() + sizeof(Item));
    Item item = {};
    prepare(item, remoteBuffer);
    std::vector<wchar_t> text(kTextChars, L'\0');
    if (!memory.address() || !WriteProcessMemory(process, memory.address(), &item, sizeof item, nullptr)) return {};
    SendMessageW(control, message, wParam, reinterpret_cast<LPARAM>(memory.address()));
    if (!ReadProcessMemory(process, remoteBuffer, text.data(), text.size() * sizeof(wchar_t), nullptr)) return {};
    text.back() = L'\0';
    return text.data();
}

std::wstring cellText(HANDLE process, HWND list, int row, int column) {
    return remoteText<LVITEMW>(process, list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                               [column](LVITEMW& item, wchar_t* buffer) {
                                   item.iSubItem = column;
                                   item.pszText = buffer;
                                   item.cchTextMax = kTextChars;
                               });
}

std::wstring headerText(HANDLE process, HWND header, int column) {
    return remoteText<HDITEMW>(process, header, HDM_GETITEMW, static_cast<WPARAM>(column),
                               [](HDITEMW& item, wchar_t* buffer) {
                                   item.mask = HDI_TEXT;
                                   item.pszText = buffer;
                                   item.cchTextMax = kTextChars;
                               });
}

int rowNamed(HANDLE process, HWND list, const std::wstring& name) {
    const int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row)
        if (cellText(process, list, row, 0) == name) return row;
    return -1;
}

std::wstring windowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// The texts of a message box: its caption and its static text.
std::wstring boxText(HWND box) {
    std::wstring text = windowText(box);
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (classOf(child) == L"Static") text += L" | " + windowText(child);
    return text;
}

ProgramRow listRow(HANDLE process, DWORD processId, const std::wstring& name) {
    const ULONGLONG deadline = GetTickCount64() + kPatienceMs;
    while (GetTickCount64() < deadline) {
        ProgramWindows windows;
        windows.processId = processId;
        EnumWindows(collectTopLevel, reinterpret_cast<LPARAM>(&windows));
        if (windows.box) {
            PostMessageW(windows.box, WM_CLOSE, 0, 0);
            return {{}, L"the program showed a message box: " + boxText(windows.box)};
        }
        HWND list = nullptr;
        if (windows.main) EnumChildWindows(windows.main, findList, reinterpret_cast<LPARAM>(&list));
        const int row = list ? rowNamed(process, list, name) : -1;
        if (row >= 0) {
            ProgramRow shown;
            HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
            const int columns = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
            for (int column = 0; column < columns; ++column)
                shown.cells[headerText(process, header, column)] = cellText(process, list, row, column);
            PostMessageW(windows.main, WM_CLOSE, 0, 0);
            return shown;
        }
        if (WaitForSingleObject(process, 50) == WAIT_OBJECT_0)
            return {{}, L"the program ended before its window listed \"" + name + L"\""};
    }
    return {{}, L"the window did not list \"" + name + L"\" within a minute"};
}

}  // namespace

ProgramRow readProgramRow(const std::wstring& program, const std::wstring& name) {
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return {{}, L"could not start " + program};
    ProgramRow row = listRow(process.hProcess, process.dwProcessId, name);
    if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return row;
}

}  // namespace lsu::test
