#pragma once
// One row of the program list: what was found, typed, and what a later move
// needs to find the entry again exactly where it was read. The texts the list
// and the command-line tool show are rendered from it in one place.

#include <string>
#include <string_view>
#include <vector>

#include "catalog/Sections.h"
#include "platform/Platform.h"

namespace lsu {

// What the entry is: a registry value, a shortcut file, or any other file
// (a Startup-folder file, or a win.ini line, which names a file too).
enum class EntryType { RegistryValue, Shortcut, File };

struct StartupEntry {
    std::string name;
    std::string commandLine;
    SectionId section = SectionId::UserRun;  // always a leaf
    EntryType type = EntryType::RegistryValue;
    bool enabled = true;   // stands where Windows reads it, not in the disabled store
    bool exists = false;   // the program it names was found
    bool checked = false;  // the box as the list shows it

    // Registry rows: the view the value was read in, and the value as stored.
    RegistryView view = RegistryView::Shared;
    RegistryValue stored;
    // Folder rows: the real file name (the shell may display another name).
    std::string fileName;
};

using EntryList = std::vector<StartupEntry>;

const Source& sourceOf(const StartupEntry& entry);

enum class Column { Name, CommandLine, Exists, Section, Status, Type };
inline constexpr int kColumnCount = 6;

struct ColumnDefinition {
    Column column;
    std::string_view header;
    int widthTwips;  // 0 hides the column
};

// Name, Command Line, Exists, Section, Status (hidden), type (hidden).
const std::vector<ColumnDefinition>& entryColumns();

// The text a cell shows: "Yes"/"No", the section key, "Enabled"/"Disabled",
// "Reg"/"Lnk"/"File".
std::string cellText(const StartupEntry& entry, Column column);

}  // namespace lsu
