#pragma once
// What the entry dialog decides: what it offers and shows first, which
// field it refuses and why, where its browse button starts and the command
// line a chosen file becomes. The Win32 dialog only shows these.

#include <optional>
#include <string>
#include <vector>

#include "catalog/StartupEntry.h"
#include "operations/Operations.h"
#include "ui/logic/ChangeMessages.h"

namespace lsu {

inline constexpr const char* kAddDialogCaption = "Add new program";
inline constexpr const char* kEditDialogCaption = "Edit program";

struct EntryDialogSetup {
    std::string caption;
    std::vector<SectionId> sections;
    EntryForm form;  // the fields shown first; a section not offered selects none
    bool forAdd = true;
};

EntryDialogSetup addDialogSetup();
// The row's name, command line and section; every section is offered.
EntryDialogSetup editDialogSetup(const StartupEntry& row);

enum class EntryField { Description, CommandLine, Section };

// Why OK cannot close the dialog: what the user is told, and the field the
// focus goes to.
struct FieldRefusal {
    UserMessage message;
    EntryField field = EntryField::Description;
    bool operator==(const FieldRefusal&) const = default;
};

// The first reason OK cannot close the dialog: an empty description, an
// empty command line, no section chosen (in that order), then anything the
// operation would refuse to write.
std::optional<FieldRefusal> refusalOfFields(const EntryForm& form, bool forAdd);

// The folder the file chooser opens in: the command line when it names a
// folder, else the folder of its program; empty when neither exists.
std::string browseFolderFor(SystemFacts& system, FileSystem& files, const std::string& commandLine);

// A chosen file as a command line: quoted when it has a space, so that
// Windows cannot read a shorter path as the program.
std::string commandLineForChosenFile(const std::string& path);

}  // namespace lsu
