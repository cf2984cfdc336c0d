#include <nlohmann/json.hpp>

#include "cli/CsvField.h"
#include "cli/EntryFormats.h"

namespace lsu::cli {

namespace {

void appendCsvRecord(std::string& out, const auto& fieldOf) {
    for (int column = 0; column < kEntryFieldCount; ++column) {
        if (column > 0) out += ',';
        appendCsvField(out, fieldOf(column));
    }
    out += "\r\n";
}

}  // namespace

const std::array<std::string_view, kEntryFieldCount>& fieldHeaders() {
    static constexpr std::array<std::string_view, kEntryFieldCount> headers = {
        "Name", "Command Line", "Exists", "Section", "Status", "Type", "Publisher", "State"};
    return headers;
}

std::string formatCsv(const EntryList& rows) {
    std::string out;
    appendCsvRecord(out, [](int column) { return std::string(fieldHeaders()[column]); });
    for (const StartupEntry& row : rows)
        appendCsvRecord(out, [&](int column) { return cellText(row, entryColumns()[column].column); });
    return out;
}

std::string formatJson(const EntryList& rows) {
    nlohmann::ordered_json array = nlohmann::ordered_json::array();
    for (const StartupEntry& row : rows) {
        nlohmann::ordered_json object = {{"name", row.name},
                                         {"commandLine", row.commandLine},
                                         {"exists", cellText(row, Column::Exists)},
                                         {"section", cellText(row, Column::Section)},
                                         {"status", cellText(row, Column::Status)},
                                         {"type", cellText(row, Column::Type)},
                                         {"publisher", row.publisher},
                                         {"state", cellText(row, Column::State)},
                                         {"switchedOff", row.enabled && row.switchedOff},
                                         {"readOnly", isReadOnly(row)}};
        // What identifies an entry that others keep, where it applies.
        if (row.type == EntryType::Service) {
            object["serviceName"] = row.name;
            object["displayName"] = row.displayName;
            object["startType"] = row.startType;
            object["delayed"] = row.delayed;
        }
        if (row.type == EntryType::AppTask) {
            object["packageFamilyName"] = row.packageFamilyName;
            object["taskId"] = row.taskId;
        }
        if (row.type == EntryType::ScheduledTask) object["taskPath"] = row.taskPath;
        array.push_back(std::move(object));
    }
    return array.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

}  // namespace lsu::cli
