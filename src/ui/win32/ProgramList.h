#pragma once
// Fills the program list view with rows: one line per entry, its cells in the
// catalog's column order and its box ticked when the entry is enabled.

#include <windows.h>

#include "catalog/StartupEntry.h"

namespace lsu::win32 {

// Replaces every line of `list` with `rows`. Drawing is held off until the
// last line is in, and `programChanging` is true for the whole fill so that
// ticking a box is not taken for a user's check.
void fillProgramList(HWND list, const EntryList& rows, bool& programChanging);

}  // namespace lsu::win32
