#pragma once
// The History dialog, modal: every change the journal records, the newest
// last and selected, with Undo for the one selected.

#include <windows.h>

#include "operations/journal/ChangeJournal.h"
#include "platform/Ports.h"

namespace lsu::win32 {

// Shows the dialog over the owner. True when an undo changed something, so
// that the owner shows the entries again.
bool showHistoryDialog(HWND owner, ChangeJournal& journal, const SourcePorts& ports);

}  // namespace lsu::win32
