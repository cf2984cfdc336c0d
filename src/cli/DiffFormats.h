#pragma once
// The three ways `diff` writes what changed between two snapshots: a table
// for people, CSV and JSON for scripts.

#include <string>
#include <vector>

#include "operations/journal/InventorySnapshot.h"

namespace lsu::cli {

// Columns Difference, Section, View, Name, Command Line, Before (the command
// line a change replaced), Starts ("Yes"/"No": whether Windows starts it now,
// or for a removal did).
std::string diffTable(const std::vector<SnapshotDifference>& differences);
std::string diffCsv(const std::vector<SnapshotDifference>& differences);
// An array of objects with the keys difference, section, view, name,
// commandLine, before and starts.
std::string diffJson(const std::vector<SnapshotDifference>& differences);

}  // namespace lsu::cli
