#include "ui/logic/HistoryRows.h"

#include <array>

namespace lsu {

namespace {

std::string actionText(const ChangeHeader& header) {
    static constexpr std::array<const char*, 6> kActions = {"Enable", "Disable", "Delete", "Add", "Edit", "Undo"};
    std::string text = kActions[static_cast<std::size_t>(header.action)];
    if (header.undoes) text += " of " + std::to_string(*header.undoes);
    return text;
}

std::string outcomeText(const JournalChange& change) {
    if (!change.end) return "Cut short";
    if (change.end->done) return "Done";
    return change.end->message.empty() ? "Failed" : "Failed: " + change.end->message;
}

}  // namespace

const std::string& historyHeader(HistoryColumn column) {
    static const std::array<std::string, kHistoryColumnCount> kHeaders = {"No.",     "Time", "Action", "Entry",
                                                                          "Section", "Tool", "Outcome"};
    return kHeaders[static_cast<std::size_t>(column)];
}

std::vector<HistoryRow> historyRows(const std::vector<JournalChange>& changes) {
    std::vector<HistoryRow> rows;
    rows.reserve(changes.size());
    for (const JournalChange& change : changes) {
        const ChangeHeader& header = change.header;
        rows.push_back({header.id,
                        {std::to_string(header.id), header.time, actionText(header), header.entry, header.section,
                         header.tool, outcomeText(change)}});
    }
    return rows;
}

}  // namespace lsu
