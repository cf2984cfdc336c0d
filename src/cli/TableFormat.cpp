#include <algorithm>
#include <array>
#include <limits>
#include <vector>

#include "cli/DisplayWidth.h"
#include "cli/EntryFormats.h"
#include "ui/logic/ListColumns.h"

namespace lsu::cli {

namespace {

constexpr int kGap = 2;
constexpr std::string_view kEllipsis = "\xE2\x80\xA6";
constexpr int kWhole = std::numeric_limits<int>::max();

struct Widening {
    Column column;
    int upTo;  // cells, or kWhole: the column's widest cell
};

// How a terminal's width is shared out. Each step widens its columns in turn,
// a cell at a time, while the terminal has room. The first step gives every
// column the least width at which it still reads, whatever the room: a
// terminal narrower than that wraps the line. Then the command line, the
// field people read, takes the room first, up to a width that shows most of
// one; the name, section and state grow whole next; the command line takes
// what is left after them.
const std::vector<std::vector<Widening>>& wideningSteps() {
    using enum Column;
    static const std::vector<std::vector<Widening>> steps = {
        {{Exists, kWhole}, {Name, 12}, {Section, 18}, {State, 10}, {CommandLine, 24}},
        {{CommandLine, 40}},
        {{Name, 20}, {Section, kWhole}, {State, kWhole}},
        {{CommandLine, kWhole}},
        {{Name, kWhole}},
    };
    return steps;
}

// The publisher is shown only in the room the others leave, and not at all
// when that is too little to tell one maker from another.
constexpr int kLeastPublisher = 10;

using ColumnWidths = std::array<int, kColumnCount>;

constexpr std::size_t slot(Column column) { return static_cast<std::size_t>(column); }

// Cuts between characters so that none is split, leaving a cell for the
// ellipsis. A section keeps its end, the leaf that tells it from its
// siblings; every other cell keeps its start.
std::string fitted(const std::string& text, int width, Column column) {
    if (displayWidth(text) <= width) return text;
    if (width <= 0) return {};
    if (column == Column::Section) return std::string(kEllipsis) + text.substr(suffixFitting(text, width - 1));
    return text.substr(0, prefixFitting(text, width - 1)) + std::string(kEllipsis);
}

// The columns the window shows; the hidden Status and type say nothing the
// State column does not.
std::vector<Column> shownColumns() {
    std::vector<Column> shown;
    for (const auto& definition : entryColumns())
        if (columnWidthTwips(definition.column) > 0) shown.push_back(definition.column);
    return shown;
}

ColumnWidths widthsForTerminal(const ColumnWidths& whole, int terminalWidth) {
    const auto& steps = wideningSteps();
    ColumnWidths widths{};
    int room = terminalWidth + kGap;  // no gap before the first column
    for (const Widening& least : steps.front()) {
        widths[slot(least.column)] = std::min(least.upTo, whole[slot(least.column)]);
        room -= widths[slot(least.column)] + kGap;
    }
    for (auto step = steps.begin() + 1; step != steps.end(); ++step) {
        for (bool widened = true; widened;) {
            widened = false;
            for (const Widening& widening : *step) {
                int& width = widths[slot(widening.column)];
                if (room <= 0 || width >= std::min(widening.upTo, whole[slot(widening.column)])) continue;
                ++width;
                --room;
                widened = true;
            }
        }
    }
    const int publisher = whole[slot(Column::Publisher)];
    if (room - kGap >= std::min(publisher, kLeastPublisher))
        widths[slot(Column::Publisher)] = std::min(publisher, room - kGap);
    return widths;
}

}  // namespace

std::string formatTable(const EntryList& rows, int terminalWidth) {
    const std::vector<Column> shown = shownColumns();
    std::vector<std::vector<std::string>> cells;
    cells.reserve(rows.size() + 1);
    auto& header = cells.emplace_back();
    for (Column column : shown) header.emplace_back(fieldHeaders()[slot(column)]);
    for (const StartupEntry& row : rows) {
        auto& line = cells.emplace_back();
        for (Column column : shown) line.push_back(withoutControls(cellText(row, column)));
    }
    ColumnWidths whole{};
    for (const auto& line : cells)
        for (std::size_t at = 0; at < shown.size(); ++at)
            whole[slot(shown[at])] = std::max(whole[slot(shown[at])], displayWidth(line[at]));
    const ColumnWidths widths = terminalWidth == kWholeCells ? whole : widthsForTerminal(whole, terminalWidth);

    std::string out;
    for (const auto& line : cells) {
        std::string text;
        for (std::size_t at = 0; at < shown.size(); ++at) {
            const int width = widths[slot(shown[at])];
            if (width == 0) continue;  // the publisher, in a terminal with no room for it
            const std::string cell = fitted(line[at], width, shown[at]);
            text += cell;
            const int padding = width - displayWidth(cell) + kGap;
            text.append(static_cast<std::size_t>(padding), ' ');
        }
        text.erase(text.find_last_not_of(' ') + 1);
        out += text + '\n';
    }
    return out;
}

}  // namespace lsu::cli
