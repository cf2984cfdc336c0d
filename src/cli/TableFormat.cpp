#include <algorithm>
#include <array>
#include <numeric>

#include "cli/DisplayWidth.h"
#include "cli/EntryFormats.h"

namespace lsu::cli {

namespace {

constexpr int kCommandLineColumn = static_cast<int>(Column::CommandLine);
// After the command line, these give way in turn, the widest first.
constexpr int kYielding[] = {static_cast<int>(Column::Name), static_cast<int>(Column::Section),
                             static_cast<int>(Column::Publisher), static_cast<int>(Column::State)};
constexpr int kGap = 2;
// Below these widths a column stops giving way; a narrower terminal wraps.
constexpr int kMinCommandLine = 12;
constexpr int kMinYielding = 8;
constexpr std::string_view kEllipsis = "\xE2\x80\xA6";

// A cell may hold line breaks or tabs; in a table they would break the row.
std::string flattened(const std::string& text) {
    std::string out = text;
    std::replace_if(out.begin(), out.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; },
                    ' ');
    return out;
}

// Cuts between characters so that none is split, leaving a cell for the ellipsis.
std::string fitted(const std::string& text, int width) {
    if (displayWidth(text) <= width) return text;
    if (width <= 0) return {};
    return text.substr(0, prefixFitting(text, width - 1)) + std::string(kEllipsis);
}

void shrink(std::array<int, kEntryFieldCount>& widths, int column, int minimum, int& excess) {
    const int give = std::clamp(widths[column] - minimum, 0, excess);
    widths[column] -= give;
    excess -= give;
}

std::array<int, kEntryFieldCount> columnWidths(const std::vector<std::array<std::string, kEntryFieldCount>>& cells,
                                          int terminalWidth) {
    std::array<int, kEntryFieldCount> widths{};
    for (const auto& line : cells)
        for (int column = 0; column < kEntryFieldCount; ++column)
            widths[column] = std::max(widths[column], displayWidth(line[column]));
    const int total = std::accumulate(widths.begin(), widths.end(), 0) + kGap * (kEntryFieldCount - 1);
    int excess = total - terminalWidth;
    if (excess <= 0) return widths;
    shrink(widths, kCommandLineColumn, kMinCommandLine, excess);
    while (excess > 0) {
        const int widest = *std::max_element(std::begin(kYielding), std::end(kYielding),
                                             [&](int a, int b) { return widths[a] < widths[b]; });
        if (widths[widest] <= kMinYielding) break;
        --widths[widest];
        --excess;
    }
    return widths;
}

}  // namespace

std::string formatTable(const EntryList& rows, int terminalWidth) {
    std::vector<std::array<std::string, kEntryFieldCount>> cells;
    cells.reserve(rows.size() + 1);
    std::array<std::string, kEntryFieldCount> header;
    for (int column = 0; column < kEntryFieldCount; ++column) header[column] = std::string(fieldHeaders()[column]);
    cells.push_back(header);
    for (const StartupEntry& row : rows) {
        std::array<std::string, kEntryFieldCount> line;
        for (int column = 0; column < kEntryFieldCount; ++column)
            line[column] = flattened(cellText(row, entryColumns()[column].column));
        cells.push_back(std::move(line));
    }
    const auto widths = columnWidths(cells, terminalWidth);

    std::string out;
    for (const auto& line : cells) {
        std::string text;
        for (int column = 0; column < kEntryFieldCount; ++column) {
            const std::string cell = fitted(line[column], widths[column]);
            text += cell;
            if (column + 1 < kEntryFieldCount) text.append(widths[column] - displayWidth(cell) + kGap, ' ');
        }
        text.erase(text.find_last_not_of(' ') + 1);
        out += text + '\n';
    }
    return out;
}

}  // namespace lsu::cli
