#pragma once
// How many terminal cells text takes: East Asian wide characters and emoji
// take two, combining marks none, everything else one.

#include <cstddef>
#include <string>
#include <string_view>

namespace lsu::cli {

int displayWidth(std::string_view utf8);

// The text on one line of a table: control characters, line breaks among
// them, each shown as a space.
std::string withoutControls(const std::string& text);

// The longest start of the text that fits in the width, cut between
// characters; its length in bytes.
std::size_t prefixFitting(std::string_view utf8, int width);
// The longest end of the text that fits in the width, cut between characters
// and never starting with a mark drawn over the character before it; where
// it starts, in bytes.
std::size_t suffixFitting(std::string_view utf8, int width);

}  // namespace lsu::cli
