#include "ui/win32/Toolbar.h"

#include <commctrl.h>

#include <iterator>

#include "platform/win32/WideText.h"
#include "ui/win32/Commands.h"
#include "ui/win32/ImageLists.h"

namespace lsu::win32 {

namespace {

constexpr int kToolbarId = 1;

struct Button {
    const wchar_t* caption;
    int command;
};
constexpr Button kButtons[] = {{L"Refresh", kCommandRefresh}, {L"Add", kCommandAdd},
                               {L"Delete", kCommandDelete},   {L"Run", kCommandRun},
                               {L"Properties", kCommandProperties}, {L"Folders", kCommandFolders}};

}  // namespace

HWND createToolbar(HWND parent, HINSTANCE instance, HIMAGELIST images) {
    HWND toolbar = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                                   WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP | CCS_NORESIZE |
                                       CCS_NOPARENTALIGN | CCS_NODIVIDER,
                                   0, 0, 0, 0,
                                   parent, reinterpret_cast<HMENU>(kToolbarId), instance, nullptr);
    SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    TBBUTTON buttons[std::size(kButtons)] = {};
    for (std::size_t i = 0; i < std::size(kButtons); ++i) {
        const bool isSwitch = kButtons[i].command == kCommandFolders;
        buttons[i].iBitmap = toolbarImageIndex(narrow(kButtons[i].caption));
        buttons[i].idCommand = kButtons[i].command;
        buttons[i].fsState = TBSTATE_ENABLED | (isSwitch ? TBSTATE_CHECKED : 0);
        buttons[i].fsStyle = BTNS_AUTOSIZE | (isSwitch ? BTNS_CHECK : BTNS_BUTTON);
        buttons[i].iString = reinterpret_cast<INT_PTR>(kButtons[i].caption);
    }
    SendMessageW(toolbar, TB_ADDBUTTONSW, std::size(buttons), reinterpret_cast<LPARAM>(buttons));
    SendMessageW(toolbar, TB_AUTOSIZE, 0, 0);
    return toolbar;
}

void setToolbarImages(HWND toolbar, HIMAGELIST images) {
    SendMessageW(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    SendMessageW(toolbar, TB_AUTOSIZE, 0, 0);
}

void setFoldersButton(HWND toolbar, bool pressed) { SendMessageW(toolbar, TB_CHECKBUTTON, kCommandFolders, pressed); }

bool foldersButtonPressed(HWND toolbar) {
    return SendMessageW(toolbar, TB_ISBUTTONCHECKED, kCommandFolders, 0) != 0;
}

const wchar_t* toolbarTooltip(UINT_PTR command) {
    if (command == kCommandRefresh) return L"Reload all";
    if (command == kCommandRun) return L"Run selected program";
    return nullptr;
}

}  // namespace lsu::win32
