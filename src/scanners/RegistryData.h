#pragma once
// How a registry value's data reads in the Command Line cell.

#include <string>

#include "platform/Registry.h"

namespace lsu {

// Strings as stored (unexpanded, up to their terminator), a multi-string's
// parts joined by spaces, numbers in decimal, anything else as hexadecimal
// bytes.
std::string renderRegistryData(const RegistryValue& value);

}  // namespace lsu
