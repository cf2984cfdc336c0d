#include "cli/PlainTable.h"

#include <algorithm>

#include "cli/CsvField.h"
#include "cli/DisplayWidth.h"

namespace lsu::cli {

std::string plainTable(const TextRows& rows) {
    std::vector<int> widths;
    for (const auto& row : rows) {
        widths.resize(std::max(widths.size(), row.size()), 0);
        for (std::size_t column = 0; column < row.size(); ++column)
            widths[column] = std::max(widths[column], displayWidth(withoutControls(row[column])));
    }
    std::string out;
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t column = 0; column < row.size(); ++column) {
            const std::string cell = withoutControls(row[column]);
            if (column > 0) line += "  ";
            line += cell;
            if (column + 1 < row.size())
                line.append(static_cast<std::size_t>(widths[column] - displayWidth(cell)), ' ');
        }
        out += line + "\n";
    }
    return out;
}

std::string csvRecords(const TextRows& rows) {
    std::string out;
    for (const auto& row : rows) {
        for (std::size_t column = 0; column < row.size(); ++column) {
            if (column > 0) out += ',';
            appendCsvField(out, row[column]);
        }
        out += "\r\n";
    }
    return out;
}

}  // namespace lsu::cli
