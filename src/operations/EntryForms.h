#pragma once
// Turning the entry dialog's fields into what is written.

#include <string>

#include "operations/Operations.h"
#include "platform/Ports.h"

namespace lsu {

// Done when the fields can be written; else invalid input, saying why: the
// section must be one the dialog offers, and a name that becomes a file name
// must be a valid one.
Status checkForm(const EntryForm& form, bool forAdd);

// A new link for the command line: program and arguments split as Windows
// splits them, described by the entry's name, in a normal window.
ShortcutFields linkFieldsFor(FileSystem& files, const std::string& name, const std::string& commandLine);

RegistryValue stringValueFor(const std::string& name, const std::string& commandLine, std::uint32_t type = kRegSz);

// The command line a link starts: its target, quoted when it has a space, and
// its arguments.
std::string commandLineOfLink(const ShortcutFields& fields);

}  // namespace lsu
