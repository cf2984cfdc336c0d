#pragma once
// How wide the program list shows each of its columns.

#include "catalog/StartupEntry.h"

namespace lsu {

// In twips; 0 for the hidden Status and type columns, which are there for
// whoever reads the list's cells (the user reads State).
int columnWidthTwips(Column column);

}  // namespace lsu
