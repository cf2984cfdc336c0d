#pragma once
// Snapshots kept in files a script names: a path of the machine the tool
// runs on, in UTF-8.

#include <string>

#include "base/Result.h"
#include "operations/journal/InventorySnapshot.h"

namespace lsu::cli {

Status saveSnapshot(const std::string& path, const InventorySnapshot& snapshot);
// Why not when the file cannot be read or holds no snapshot.
Result<InventorySnapshot> loadSnapshot(const std::string& path);

}  // namespace lsu::cli
