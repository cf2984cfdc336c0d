#pragma once
// The journal as people read it, one row per change: the window's History
// and the tool's `history` show the same rows.

#include <string>
#include <vector>

#include "operations/journal/JournalRecords.h"

namespace lsu {

enum class HistoryColumn { Number, Time, Action, Entry, Section, Tool, Outcome };
inline constexpr int kHistoryColumnCount = 7;

struct HistoryRow {
    ChangeId id = 0;
    std::string cells[kHistoryColumnCount];
    const std::string& cell(HistoryColumn column) const { return cells[static_cast<int>(column)]; }
};

// "No.", "Time", "Action", "Entry", "Section", "Tool", "Outcome".
const std::string& historyHeader(HistoryColumn column);

// Oldest first. The action of an undo names the change it undid; the
// outcome is "Done", "Failed: " and why, or "Cut short" for a change whose
// end was never recorded.
std::vector<HistoryRow> historyRows(const std::vector<JournalChange>& changes);

}  // namespace lsu
