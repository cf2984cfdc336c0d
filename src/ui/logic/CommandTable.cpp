#include "ui/logic/CommandTable.h"

#include <algorithm>

#include "ui/logic/WindowTexts.h"

namespace lsu {

namespace {

using enum Command;

std::string_view keyName(Key key) {
    switch (key) {
        case Key::N: return "N";
        case Key::F: return "F";
        case Key::Z: return "Z";
        case Key::Delete: return "Del";
        case Key::F4: return "F4";
        case Key::F5: break;
    }
    return "F5";
}

}  // namespace

const std::vector<CommandInfo>& commands() {
    static const std::vector<CommandInfo> table = {
        {Exit, "E&xit", {}, {}},
        {RestartAsAdministrator, "Restart as administrator", {}, {}},
        {Enable, "Enable", {}, {}},
        {Disable, "Disable", {}, {}},
        {Add, "Add new program..", Shortcut{true, Key::N}, ToolbarButton{"Add", ToolbarImage::Add, {}}},
        {Delete, "Delete", Shortcut{false, Key::Delete}, ToolbarButton{"Delete", ToolbarImage::Delete, {}}},
        {Run, "Run", {}, ToolbarButton{"Run", ToolbarImage::Run, "Run selected program"}},
        {Properties, "Properties", Shortcut{false, Key::F4}, ToolbarButton{"Properties", ToolbarImage::Properties, {}}},
        {Folders, "Folders", Shortcut{true, Key::F}, ToolbarButton{"Folders", ToolbarImage::Folders, {}}, true},
        {Grid, "Grid", {}, {}, true},
        {Refresh, "Refresh", Shortcut{false, Key::F5}, ToolbarButton{"Refresh", ToolbarImage::Refresh, "Reload all"}},
        {About, kAboutTitle, {}, {}},
        {HideWindowsServices, "Hide Windows services", {}, {}, true},
        {Undo, "Undo", Shortcut{true, Key::Z}, {}},
        {History, "History...", {}, {}},
    };
    return table;
}

const CommandInfo& commandInfo(Command command) {
    const auto& table = commands();
    return *std::find_if(table.begin(), table.end(), [&](const CommandInfo& row) { return row.command == command; });
}

std::string shortcutText(const Shortcut& shortcut) {
    return std::string(shortcut.control ? "Ctrl+" : "").append(keyName(shortcut.key));
}

std::string menuItemText(Command command) {
    const CommandInfo& row = commandInfo(command);
    std::string text(row.caption);
    if (row.shortcut) text.append("\t").append(shortcutText(*row.shortcut));
    return text;
}

const std::vector<MenuDefinition>& menuBar() {
    static const std::vector<MenuDefinition> menus = {
        {"Action", {RestartAsAdministrator, std::nullopt, Exit}},
        {"Edit", {Undo, std::nullopt, Enable, Disable, std::nullopt, Add, Delete, Run, std::nullopt, Properties}},
        {"View", {Folders, std::nullopt, Grid, HideWindowsServices, std::nullopt, History, std::nullopt, Refresh}},
        {"Help", {About}},
    };
    return menus;
}

std::vector<std::optional<Command>> shownItems(const MenuDefinition& menu, bool elevated) {
    std::vector<std::optional<Command>> shown;
    for (const std::optional<Command>& item : menu.items) {
        if (elevated && item == RestartAsAdministrator) continue;
        // A separator stands only between items.
        if (!item && (shown.empty() || !shown.back())) continue;
        shown.push_back(item);
    }
    if (!shown.empty() && !shown.back()) shown.pop_back();
    return shown;
}

const std::vector<Command>& toolbarCommands() {
    static const std::vector<Command> buttons = {Refresh, Add, Delete, Run, Properties, Folders};
    return buttons;
}

}  // namespace lsu
