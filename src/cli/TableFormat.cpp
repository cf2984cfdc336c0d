#include <algorithm>
#include <array>
#include <vector>
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

// The columns the window shows; the hidden Status and type say nothing the
// State column does not.
std::vector<int> shownColumns() {
    std::vector<int> shown;
    for (int column = 0; column < kEntryFieldCount; ++column)
        if (entryColumns()[column].widthTwips > 0) shown.push_back(column);
    return shown;
}

using Cells = std::vector<std::string>;

void shrink(std::vector<int>& widths, std::size_t at, int minimum, int& excess) {
    const int give = std::clamp(widths[at] - minimum, 0, excess);
    widths[at] -= give;
    excess -= give;
}

std::vector<int> columnWidths(const std::vector<Cells>& cells, const std::vector<int>& shown, int terminalWidth) {
    std::vector<int> widths(shown.size(), 0);
    for (const auto& line : cells)
        for (std::size_t at = 0; at < shown.size(); ++at) widths[at] = std::max(widths[at], displayWidth(line[at]));
    const int total = std::accumulate(widths.begin(), widths.end(), 0) + kGap * static_cast<int>(shown.size() - 1);
    int excess = total - terminalWidth;
    if (excess <= 0) return widths;
    auto indexOf = [&](int column) { return static_cast<std::size_t>(std::find(shown.begin(), shown.end(), column) - shown.begin()); };
    shrink(widths, indexOf(kCommandLineColumn), kMinCommandLine, excess);
    while (excess > 0) {
        const int widest = *std::max_element(std::begin(kYielding), std::end(kYielding),
                                             [&](int a, int b) { return widths[indexOf(a)] < widths[indexOf(b)]; });
        if (widths[indexOf(widest)] <= kMinYielding) break;
        --widths[indexOf(widest)];
        --excess;
    }
    return widths;
}

}  // namespace

std::string formatTable(const EntryList& rows, int terminalWidth) {
    const std::vector<int> shown = shownColumns();
    std::vector<Cells> cells;
    cells.reserve(rows.size() + 1);
    Cells& header = cells.emplace_back();
    for (int column : shown) header.emplace_back(fieldHeaders()[column]);
    for (const StartupEntry& row : rows) {
        Cells& line = cells.emplace_back();
        for (int column : shown) line.push_back(flattened(cellText(row, entryColumns()[column].column)));
    }
    const auto widths = columnWidths(cells, shown, terminalWidth);

    std::string out;
    for (const auto& line : cells) {
        std::string text;
        for (std::size_t at = 0; at < shown.size(); ++at) {
            const std::string cell = fitted(line[at], widths[at]);
            text += cell;
            if (at + 1 < shown.size()) text.append(widths[at] - displayWidth(cell) + kGap, ' ');
        }
        text.erase(text.find_last_not_of(' ') + 1);
        out += text + '\n';
    }
    return out;
}

}  // namespace lsu::cli
