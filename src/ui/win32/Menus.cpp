#include "ui/win32/Menus.h"

#include <vector>

#include "platform/win32/WideText.h"

namespace lsu::win32 {

namespace {

WORD virtualKeyOf(Key key) {
    switch (key) {
        case Key::N: return 'N';
        case Key::F: return 'F';
        case Key::Z: return 'Z';
        case Key::Delete: return VK_DELETE;
        case Key::F4: return VK_F4;
        case Key::F5: break;
    }
    return VK_F5;
}

UINT idOf(Command command) { return static_cast<UINT>(command); }

}  // namespace

HMENU createMenuBar(bool elevated) {
    HMENU bar = CreateMenu();
    for (const MenuDefinition& definition : menuBar()) {
        HMENU menu = CreatePopupMenu();
        for (const std::optional<Command>& item : shownItems(definition, elevated)) {
            if (item) AppendMenuW(menu, MF_STRING, idOf(*item), widen(menuItemText(*item)).c_str());
            else AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        }
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(menu), widen(definition.caption).c_str());
    }
    return bar;
}

AcceleratorTable createAccelerators() {
    std::vector<ACCEL> keys;
    for (const CommandInfo& command : commands())
        if (command.shortcut)
            keys.push_back({static_cast<BYTE>(FVIRTKEY | (command.shortcut->control ? FCONTROL : 0)),
                            virtualKeyOf(command.shortcut->key), static_cast<WORD>(command.command)});
    return AcceleratorTable(CreateAcceleratorTableW(keys.data(), static_cast<int>(keys.size())));
}

void showEditMenuState(HMENU menu, const EditMenuState& state) {
    auto enable = [&](Command command, bool on) {
        EnableMenuItem(menu, idOf(command), MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
    };
    enable(Command::Enable, state.enable);
    enable(Command::Disable, state.disable);
    enable(Command::Delete, state.remove);
    enable(Command::Properties, state.properties);
    enable(Command::Run, state.run);
}

void setMenuCheck(HMENU menu, Command command, bool checked) {
    CheckMenuItem(menu, idOf(command), MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void setMenuBitmap(HMENU menu, Command command, HBITMAP bitmap) {
    MENUITEMINFOW item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_BITMAP;
    item.hbmpItem = bitmap;
    SetMenuItemInfoW(menu, idOf(command), FALSE, &item);
}

}  // namespace lsu::win32
