#pragma once
// The least the system allows for showing a section: its sources read with
// plain Win32 calls and nothing of the program's in between, and the same
// six texts a row shows inserted into a list view with check boxes.

#include <windows.h>

#include <array>
#include <string>
#include <vector>

namespace lsu::bench {

using BareRow = std::array<std::wstring, 6>;

// Every entry of every source, as the six texts of a row. The program folder
// is the folder of this executable, as it is for the program.
std::vector<BareRow> bareReadEverySource();

// The automatic services, each in its leaf: one enumeration of the service
// manager, then each service's configuration and delayed flag.
std::vector<BareRow> bareReadServiceRows();

// The packaged apps' startup tasks of the current user: each package's
// registration, its manifest read whole, each task's attributes found by
// plain search, each task's State, and the program's existence and company.
std::vector<BareRow> bareReadPackageRows();

// Fills the list view with the rows, drawing held off, every box ticked as
// the row is enabled; the list must have check boxes.
void bareInsert(HWND list, std::vector<BareRow>& rows);

}  // namespace lsu::bench
