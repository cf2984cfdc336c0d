#include "cli/HistoryFormats.h"

#include <nlohmann/json.hpp>

#include "cli/CsvField.h"
#include "cli/DisplayWidth.h"
#include "ui/logic/HistoryRows.h"

namespace lsu::cli {

namespace {

constexpr std::string_view kColumnGap = "  ";

std::vector<std::vector<std::string>> tableLines(const std::vector<JournalChange>& changes) {
    std::vector<std::vector<std::string>> lines(1);
    for (int column = 0; column < kHistoryColumnCount; ++column)
        lines[0].push_back(historyHeader(static_cast<HistoryColumn>(column)));
    for (const HistoryRow& row : historyRows(changes)) {
        auto& line = lines.emplace_back();
        for (const std::string& cell : row.cells) line.push_back(withoutControls(cell));
    }
    return lines;
}

std::string outcomeKey(const JournalChange& change) {
    if (!change.end) return "unfinished";
    return change.end->done ? "done" : "failed";
}

}  // namespace

std::string historyTable(const std::vector<JournalChange>& changes) {
    const auto lines = tableLines(changes);
    std::vector<int> widths(kHistoryColumnCount, 0);
    for (const auto& line : lines)
        for (int column = 0; column < kHistoryColumnCount; ++column)
            widths[column] = std::max(widths[column], displayWidth(line[column]));
    std::string out;
    for (const auto& line : lines) {
        std::string text;
        for (int column = 0; column < kHistoryColumnCount; ++column) {
            if (column > 0) text += kColumnGap;
            text += line[column];
            if (column + 1 < kHistoryColumnCount)
                text.append(static_cast<std::size_t>(widths[column] - displayWidth(line[column])), ' ');
        }
        out += text + "\n";
    }
    return out;
}

std::string historyCsv(const std::vector<JournalChange>& changes) {
    std::string out;
    const auto appendRecord = [&](const auto& cellOf) {
        for (int column = 0; column < kHistoryColumnCount; ++column) {
            if (column > 0) out += ',';
            appendCsvField(out, cellOf(column));
        }
        out += "\r\n";
    };
    appendRecord([](int column) { return historyHeader(static_cast<HistoryColumn>(column)); });
    for (const HistoryRow& row : historyRows(changes)) appendRecord([&](int column) { return row.cells[column]; });
    return out;
}

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
