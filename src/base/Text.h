#pragma once
// Small text helpers shared by every layer.

#include <string>
#include <string_view>

namespace lsu {

// Without the spaces (only spaces) at either end.
std::string trimSpaces(std::string_view text);
bool startsWith(std::string_view text, std::string_view prefix);

}  // namespace lsu
