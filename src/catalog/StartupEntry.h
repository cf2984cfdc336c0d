#pragma once
// One row of the program list. The six cells are what the user sees (Status
// and type in hidden columns); the rest is what a later move needs to find the
// entry again exactly where it was read.

#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"

namespace lsu {

inline constexpr std::string_view kStatusEnabled = "Enabled";
inline constexpr std::string_view kStatusDisabled = "Disabled";
inline constexpr std::string_view kTypeReg = "Reg";
inline constexpr std::string_view kTypeLnk = "Lnk";
inline constexpr std::string_view kTypeFile = "File";

struct StartupEntry {
    std::string Name;
    std::string CommandLine;
    std::string Exists;
    std::string Section;
    std::string Status;
    std::string Type;
    bool Checked = false;

    // Registry rows: the view the value was read in, and the value as stored.
    RegistryView view = RegistryView::Shared;
    RegistryValue stored;
    // Folder rows: the real file name (the shell may display another name).
    std::string fileName;
};

using EntryList = std::vector<StartupEntry>;

struct ColumnDefinition {
    std::string_view header;
    int widthTwips;  // 0 hides the column
};

// Name, Command Line, Exists, Section, Status (hidden), type (hidden).
const std::vector<ColumnDefinition>& entryColumns();

// The cell of a column (0 = Name, 1..5 = the sub-items).
const std::string& cellText(const StartupEntry& entry, int column);

class ExistenceCheck;

// Appends one row; the check box stays clear. Returns the new row so that a
// scanner can attach the hidden data.
StartupEntry& AddtoList(EntryList& list, std::string sName, std::string Scmdline, std::string_view sSection,
                        bool bEnabled, std::string_view sType, ExistenceCheck& check);
// The same, for a row whose Exists answer is already known.
StartupEntry& appendRow(EntryList& list, std::string sName, std::string Scmdline, std::string_view sSection,
                        bool bEnabled, std::string_view sType, bool exists);

}  // namespace lsu
