#pragma once
// String values as the registry stores them: UTF-16LE units ending in a NUL,
// a multi-string's parts each ended by a NUL and the whole by one more. Values
// are kept as stored; these turn text into such data for a new value, and
// such data into text for showing, each in one place.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"

namespace lsu {

// The data of a new string value of the type holding the text (for a
// multi-string, its parts separated by NULs).
std::vector<std::uint8_t> storedString(std::string_view text, std::uint32_t type);

// The text of string data up to its first NUL; an odd last byte is no
// character, and data without a NUL is text to its end.
std::string textOfStoredString(std::span<const std::uint8_t> data);

}  // namespace lsu
