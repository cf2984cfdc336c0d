#include "ui/win32/Menus.h"

#include <iterator>

#include "ui/win32/Commands.h"

namespace lsu::win32 {

MainMenu createMainMenu() {
    MainMenu menu;
    menu.bar = CreateMenu();
    HMENU action = CreatePopupMenu();
    AppendMenuW(action, MF_STRING, kCommandExit, L"E&xit");
    menu.edit = CreatePopupMenu();
    AppendMenuW(menu.edit, MF_STRING, kCommandEnable, L"Enable");
    AppendMenuW(menu.edit, MF_STRING, kCommandDisable, L"Disable");
    AppendMenuW(menu.edit, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu.edit, MF_STRING, kCommandAdd, L"Add new program..\tCtrl+N");
    AppendMenuW(menu.edit, MF_STRING, kCommandDelete, L"Delete\tDel");
    AppendMenuW(menu.edit, MF_STRING, kCommandRun, L"Run");
    AppendMenuW(menu.edit, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu.edit, MF_STRING, kCommandProperties, L"Properties\tF4");
    menu.view = CreatePopupMenu();
    AppendMenuW(menu.view, MF_STRING | MF_CHECKED, kCommandFolders, L"Folders\tCtrl+F");
    AppendMenuW(menu.view, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu.view, MF_STRING, kCommandGrid, L"Grid");
    AppendMenuW(menu.view, MF_STRING | MF_CHECKED, kCommandHideWindowsServices, L"Hide Windows services");
    AppendMenuW(menu.view, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu.view, MF_STRING, kCommandRefresh, L"Refresh\tF5");
    HMENU help = CreatePopupMenu();
    AppendMenuW(help, MF_STRING, kCommandAbout, L"About Larkwell StartUp");
    AppendMenuW(menu.bar, MF_POPUP, reinterpret_cast<UINT_PTR>(action), L"Action");
    AppendMenuW(menu.bar, MF_POPUP, reinterpret_cast<UINT_PTR>(menu.edit), L"Edit");
    AppendMenuW(menu.bar, MF_POPUP, reinterpret_cast<UINT_PTR>(menu.view), L"View");
    AppendMenuW(menu.bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"Help");
    return menu;
}

AcceleratorTable createAccelerators() {
    ACCEL keys[] = {{FCONTROL | FVIRTKEY, 'N', kCommandAdd},
                    {FVIRTKEY, VK_DELETE, kCommandDelete},
                    {FVIRTKEY, VK_F4, kCommandProperties},
                    {FCONTROL | FVIRTKEY, 'F', kCommandFolders},
                    {FVIRTKEY, VK_F5, kCommandRefresh}};
    return AcceleratorTable(CreateAcceleratorTableW(keys, static_cast<int>(std::size(keys))));
}

void showEditMenuState(HMENU edit, const EditMenuState& state) {
    auto enable = [&](int id, bool on) { EnableMenuItem(edit, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED)); };
    enable(kCommandEnable, state.enable);
    enable(kCommandDisable, state.disable);
    enable(kCommandDelete, state.remove);
    enable(kCommandProperties, state.properties);
    enable(kCommandRun, state.run);
}

void setMenuCheck(HMENU menu, int command, bool checked) {
    CheckMenuItem(menu, static_cast<UINT>(command), MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

}  // namespace lsu::win32
