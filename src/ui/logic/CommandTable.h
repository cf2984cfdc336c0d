#pragma once
// The window's commands in one table: each with its menu caption, its
// toolbar button and tooltip, and its keyboard shortcut. The menu bar, the
// toolbar and the accelerator table are all built from it, so that a
// shortcut and the text that names it in the menu cannot disagree.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lsu {

enum class Command {
    Exit = 100,
    Enable,
    Disable,
    Add,
    Delete,
    Run,
    Properties,
    Folders,
    Grid,
    Refresh,
    About,
    RestartAsAdministrator,
    HideWindowsServices,
    Undo,
    History,
};

// The keys the shortcuts use.
enum class Key { N, F, Z, Delete, F4, F5 };

struct Shortcut {
    bool control = false;
    Key key = Key::N;
};

// The toolbar's images, in the order of the toolbar's image list.
enum class ToolbarImage { Add, Delete, Folders, Properties, Refresh, Run };
inline constexpr int kToolbarImageCount = 6;

struct ToolbarButton {
    std::string_view caption;
    ToolbarImage image;
    std::string_view tooltip;  // empty: the button has none
};

struct CommandInfo {
    Command command;
    std::string_view caption;  // in the menu
    std::optional<Shortcut> shortcut;
    std::optional<ToolbarButton> button;
    bool switches = false;  // shows a state the command turns on and off
};

// Every command, in the order of the menus.
const std::vector<CommandInfo>& commands();
const CommandInfo& commandInfo(Command command);

// "Ctrl+N", "Del", "F4".
std::string shortcutText(const Shortcut& shortcut);
// The caption, then a tab and the shortcut's text when it has one.
std::string menuItemText(Command command);

// A top-level menu: its caption and its items, a separator where an item is
// missing.
struct MenuDefinition {
    std::string_view caption;
    std::vector<std::optional<Command>> items;
};

// Action, Edit, View and Help.
const std::vector<MenuDefinition>& menuBar();
// The menu's items as the window shows them: restarting as administrator is
// offered only while the program runs without administrator rights.
std::vector<std::optional<Command>> shownItems(const MenuDefinition& menu, bool elevated);
// The Edit menu's place in the menu bar; it is also the list's context menu.
inline constexpr int kEditMenuIndex = 1;
// The toolbar's buttons, left to right.
const std::vector<Command>& toolbarCommands();

}  // namespace lsu
