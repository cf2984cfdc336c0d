#include "cli/DisplayWidth.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace lsu::cli {

namespace {

struct Range {
    char32_t first, last;
};

// Marks drawn over the character before them, and characters that are not drawn.
constexpr Range kZeroWidth[] = {
    {0x0300, 0x036F}, {0x0483, 0x0489}, {0x0591, 0x05BD}, {0x0610, 0x061A}, {0x064B, 0x065F},   {0x0E31, 0x0E31},
    {0x0E34, 0x0E3A}, {0x1AB0, 0x1AFF}, {0x1DC0, 0x1DFF}, {0x200B, 0x200F}, {0x2028, 0x202E},   {0x2060, 0x2064},
    {0x20D0, 0x20FF}, {0xFE00, 0xFE0F}, {0xFE20, 0xFE2F}, {0xFEFF, 0xFEFF}, {0xE0100, 0xE01EF},
};

// East Asian wide and fullwidth characters, and the emoji terminals draw two cells wide.
constexpr Range kDoubleWidth[] = {
    {0x1100, 0x115F},   {0x231A, 0x231B},   {0x2329, 0x232A},   {0x23E9, 0x23EC},   {0x23F0, 0x23F0},
    {0x23F3, 0x23F3},   {0x25FD, 0x25FE},   {0x2614, 0x2615},   {0x2648, 0x2653},   {0x267F, 0x267F},
    {0x2693, 0x2693},   {0x26A1, 0x26A1},   {0x26AA, 0x26AB},   {0x26BD, 0x26BE},   {0x26C4, 0x26C5},
    {0x26CE, 0x26CE},   {0x26D4, 0x26D4},   {0x26EA, 0x26EA},   {0x26F2, 0x26F3},   {0x26F5, 0x26F5},
    {0x26FA, 0x26FA},   {0x26FD, 0x26FD},   {0x2705, 0x2705},   {0x270A, 0x270B},   {0x2728, 0x2728},
    {0x274C, 0x274C},   {0x274E, 0x274E},   {0x2753, 0x2755},   {0x2757, 0x2757},   {0x2795, 0x2797},
    {0x27B0, 0x27B0},   {0x27BF, 0x27BF},   {0x2B1B, 0x2B1C},   {0x2B50, 0x2B50},   {0x2B55, 0x2B55},
    {0x2E80, 0x303E},   {0x3041, 0x33FF},   {0x3400, 0x4DBF},   {0x4E00, 0x9FFF},   {0xA000, 0xA4CF},
    {0xA960, 0xA97F},   {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},   {0xFE10, 0xFE19},   {0xFE30, 0xFE6F},
    {0xFF00, 0xFF60},   {0xFFE0, 0xFFE6},   {0x16FE0, 0x16FE4}, {0x17000, 0x18CFF}, {0x1B000, 0x1B2FF},
    {0x1F004, 0x1F004}, {0x1F0CF, 0x1F0CF}, {0x1F18E, 0x1F18E}, {0x1F191, 0x1F19A}, {0x1F200, 0x1F251},
    {0x1F300, 0x1F64F}, {0x1F680, 0x1F6FF}, {0x1F7E0, 0x1F7EB}, {0x1F90C, 0x1F9FF}, {0x1FA70, 0x1FAFF},
    {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD},
};

template <std::size_t N>
bool within(const Range (&ranges)[N], char32_t c) {
    const auto* after = std::upper_bound(std::begin(ranges), std::end(ranges), c,
                                         [](char32_t value, const Range& range) { return value < range.first; });
    return after != std::begin(ranges) && c <= std::prev(after)->last;
}

int cellsOf(char32_t c) {
    if (within(kZeroWidth, c)) return 0;
    return within(kDoubleWidth, c) ? 2 : 1;
}

// The character starting at `at` and its length in bytes; a byte that does
// not start a character reads as one character of its own.
char32_t decodeAt(std::string_view text, std::size_t at, std::size_t& length) {
    const auto lead = static_cast<unsigned char>(text[at]);
    length = lead < 0x80 ? 1 : lead >> 5 == 0x6 ? 2 : lead >> 4 == 0xE ? 3 : lead >> 3 == 0x1E ? 4 : 1;
    if (at + length > text.size()) length = 1;
    if (length == 1) return lead;
    char32_t c = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) c = c << 6 | (static_cast<unsigned char>(text[at + i]) & 0x3F);
    return c;
}

}  // namespace

std::string withoutControls(const std::string& text) {
    std::string out = text;
    std::replace_if(
        out.begin(), out.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }, ' ');
    return out;
}

int displayWidth(std::string_view utf8) {
    int width = 0;
    for (std::size_t at = 0, length = 0; at < utf8.size(); at += length) width += cellsOf(decodeAt(utf8, at, length));
    return width;
}

std::size_t prefixFitting(std::string_view utf8, int width) {
    int used = 0;
    std::size_t at = 0;
    for (std::size_t length = 0; at < utf8.size(); at += length) {
        const int cells = cellsOf(decodeAt(utf8, at, length));
        if (used + cells > width) break;
        used += cells;
    }
    return at;
}

std::size_t suffixFitting(std::string_view utf8, int width) {
    int excess = displayWidth(utf8) - width;
    std::size_t at = 0;
    std::size_t length = 0;
    for (; at < utf8.size() && excess > 0; at += length) excess -= cellsOf(decodeAt(utf8, at, length));
    while (at < utf8.size() && cellsOf(decodeAt(utf8, at, length)) == 0) at += length;
    return at;
}

}  // namespace lsu::cli
