#include "ui/win32/Toolbar.h"

#include <vector>

#include "platform/win32/WideText.h"

namespace lsu::win32 {

namespace {

constexpr int kToolbarId = 1;

}  // namespace

HWND createToolbar(HWND parent, HINSTANCE instance, HIMAGELIST images) {
    HWND toolbar = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                                   WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP | CCS_NORESIZE |
                                       CCS_NOPARENTALIGN | CCS_NODIVIDER,
                                   0, 0, 0, 0, parent, reinterpret_cast<HMENU>(kToolbarId), instance, nullptr);
    SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    // The toolbar copies the captions; the buttons need them only until then.
    std::vector<std::wstring> captions;
    std::vector<TBBUTTON> buttons;
    for (Command command : toolbarCommands()) {
        const CommandInfo& info = commandInfo(command);
        captions.push_back(widen(info.button->caption));
        TBBUTTON button = {};
        button.iBitmap = static_cast<int>(info.button->image);
        button.idCommand = static_cast<int>(command);
        button.fsState = TBSTATE_ENABLED;
        button.fsStyle = BTNS_AUTOSIZE | (info.switches ? BTNS_CHECK : BTNS_BUTTON);
        buttons.push_back(button);
    }
    for (std::size_t i = 0; i < buttons.size(); ++i)
        buttons[i].iString = reinterpret_cast<INT_PTR>(captions[i].c_str());
    SendMessageW(toolbar, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    SendMessageW(toolbar, TB_AUTOSIZE, 0, 0);
    return toolbar;
}

void setToolbarImages(HWND toolbar, HIMAGELIST images) {
    SendMessageW(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    SendMessageW(toolbar, TB_AUTOSIZE, 0, 0);
}

void setButtonChecked(HWND toolbar, Command command, bool checked) {
    SendMessageW(toolbar, TB_CHECKBUTTON, static_cast<WPARAM>(command), checked);
}

bool answerTooltip(HWND toolbar, NMTTDISPINFOW& request) {
    if (request.hdr.hwndFrom != reinterpret_cast<HWND>(SendMessageW(toolbar, TB_GETTOOLTIPS, 0, 0))) return false;
    const CommandInfo& info = commandInfo(static_cast<Command>(request.hdr.idFrom));
    const std::wstring tooltip = widen(info.button ? info.button->tooltip : std::string_view());
    lstrcpynW(request.szText, tooltip.c_str(), static_cast<int>(std::size(request.szText)));
    return true;
}

}  // namespace lsu::win32
