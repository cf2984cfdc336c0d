#include "cli/DiffFormats.h"

#include <nlohmann/json.hpp>

#include "cli/PlainTable.h"

namespace lsu::cli {

namespace {

TextRows diffText(const std::vector<SnapshotDifference>& differences) {
    TextRows rows = {{"Difference", "Section", "View", "Name", "Command Line", "Before", "Starts"}};
    for (const SnapshotDifference& difference : differences) {
        const SnapshotEntry& entry = difference.entry;
        rows.push_back({std::string(differenceName(difference.kind)), entry.section, entry.view, entry.name,
                        entry.commandLine, difference.previous, entry.starts ? "Yes" : "No"});
    }
    return rows;
}

}  // namespace

std::string diffTable(const std::vector<SnapshotDifference>& differences) { return plainTable(diffText(differences)); }

std::string diffCsv(const std::vector<SnapshotDifference>& differences) { return csvRecords(diffText(differences)); }

std::string diffJson(const std::vector<SnapshotDifference>& differences) {
    nlohmann::ordered_json array = nlohmann::ordered_json::array();
    for (const SnapshotDifference& difference : differences) {
        const SnapshotEntry& entry = difference.entry;
        array.push_back({{"difference", differenceName(difference.kind)},
                         {"section", entry.section},
                         {"view", entry.view},
                         {"name", entry.name},
                         {"commandLine", entry.commandLine},
                         {"before", difference.previous},
                         {"starts", entry.starts}});
    }
    return array.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

}  // namespace lsu::cli
