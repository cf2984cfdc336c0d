#pragma once
// Reads a row of another program's main window from outside: the list's
// texts through memory of that process, as a screen reader or a test robot
// reads them.

#include <windows.h>

#include <map>
#include <string>

namespace lsu::test {

struct ProgramRow {
    std::map<std::wstring, std::wstring> cells;  // by column header
    std::wstring failure;                        // why no row was read; empty when one was
};

// Starts the program, waits until its main window lists a row of the given
// name, reads that row and closes the program again. A message box that the
// program shows instead ends the wait at once, with its title and text.
ProgramRow readProgramRow(const std::wstring& program, const std::wstring& name);

}  // namespace lsu::test
