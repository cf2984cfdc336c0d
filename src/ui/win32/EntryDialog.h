#pragma once
// The entry dialog, modal, in which the user types or changes one start-up
// entry. It writes nothing: it checks the fields and says whether the user
// confirmed them.

#include <windows.h>

#include <optional>

#include "platform/Ports.h"
#include "ui/logic/EntryDialogFields.h"

namespace lsu::win32 {

// Shows the dialog over the owner, which stays disabled while it is open.
// The fields the user confirmed with OK; nullopt for Cancel, Esc or closing.
std::optional<EntryForm> showEntryDialog(HWND owner, const SourcePorts& ports, const EntryDialogSetup& setup);

}  // namespace lsu::win32
