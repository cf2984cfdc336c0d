#include "cli/HistoryFormats.h"

#include <nlohmann/json.hpp>

#include "cli/PlainTable.h"
#include "ui/logic/HistoryRows.h"

namespace lsu::cli {

namespace {

TextRows historyText(const std::vector<JournalChange>& changes) {
    TextRows rows(1);
    for (int column = 0; column < kHistoryColumnCount; ++column)
        rows[0].push_back(historyHeader(static_cast<HistoryColumn>(column)));
    for (const HistoryRow& row : historyRows(changes)) rows.emplace_back(std::begin(row.cells), std::end(row.cells));
    return rows;
}

std::string outcomeKey(const JournalChange& change) {
    if (!change.end) return "unfinished";
    return change.end->done ? "done" : "failed";
}

}  // namespace

std::string historyTable(const std::vector<JournalChange>& changes) { return plainTable(historyText(changes)); }

std::string historyCsv(const std::vector<JournalChange>& changes) { return csvRecords(historyText(changes)); }

std::string historyJson(const std::vector<JournalChange>& changes) {
    nlohmann::ordered_json array = nlohmann::ordered_json::array();
    for (const JournalChange& change : changes) {
        const ChangeHeader& header = change.header;
        nlohmann::ordered_json places = nlohmann::ordered_json::array();
        for (const TouchedBefore& touched : change.places) places.push_back(describePlace(touched.place));
        array.push_back({{"id", header.id},
                         {"time", header.time},
                         {"action", actionName(header.action)},
                         {"entry", header.entry},
                         {"section", header.section},
                         {"tool", header.tool},
                         {"outcome", outcomeKey(change)},
                         {"message", change.end ? change.end->message : std::string()},
                         {"undoes", header.undoes ? nlohmann::ordered_json(*header.undoes) : nullptr},
                         {"places", places}});
    }
    return array.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

}  // namespace lsu::cli
