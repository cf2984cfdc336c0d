#include "base/CaseFolding.h"

#include <algorithm>

#include "base/UpperCaseRanges.h"
#include "base/Utf16.h"

namespace lsu {

namespace {

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

char upperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

// -1, 0 or 1 as a sorts before, with or after b.
int compareNoCase(std::string_view a, std::string_view b) {
    Utf16Units left(a), right(b);
    while (!left.done() && !right.done()) {
        const char16_t x = upperCaseOf(left.next()), y = upperCaseOf(right.next());
        if (x != y) return x < y ? -1 : 1;
    }
    return left.done() == right.done() ? 0 : left.done() ? -1 : 1;
}

}  // namespace

char16_t upperCaseOf(char16_t unit) {
    if (unit < 0x80) return static_cast<char16_t>(upperAscii(static_cast<char>(unit)));
    const auto& ranges = detail::kUpperCaseRanges;
    const auto* range =
        std::upper_bound(ranges.begin(), ranges.end(), unit,
                         [](char16_t value, const detail::UpperCaseRange& row) { return value < row.first; });
    if (range == ranges.begin()) return unit;
    --range;
    if (unit > range->last || (unit - range->first) % range->stride != 0) return unit;
    return static_cast<char16_t>(unit + range->offset);
}

std::u16string foldedName(std::string_view utf8) {
    std::u16string folded;
    folded.reserve(utf8.size());
    for (Utf16Units units(utf8); !units.done();) folded += upperCaseOf(units.next());
    return folded;
}

// Most names are ASCII: those are compared without decoding them.
bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a == b) return true;
    if (isAscii(a) && isAscii(b))
        return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                          [](char x, char y) { return upperAscii(x) == upperAscii(y); });
    return compareNoCase(a, b) == 0;
}

bool lessNoCase(std::string_view a, std::string_view b) { return compareNoCase(a, b) < 0; }

bool endsWithNoCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && equalsNoCase(text.substr(text.size() - suffix.size()), suffix);
}

}  // namespace lsu
