#pragma once
// Windows' own on/off switch for a start-up entry (the Startup page of its
// settings): a binary value named as the entry whose first byte has bit 0 set
// when the entry is off, followed by the time of the change. A missing value,
// or one of another shape, means on.

#include <optional>
#include <string>

#include "catalog/StartupEntry.h"

namespace lsu {

// The key holding the switches of the leaf's entries in that view; nullopt
// for a leaf Windows keeps no switches for.
std::optional<RegistryLocation> switchKeyOf(SectionId leaf, RegistryView view);
// The value name of an entry's switch: a file's name with its extension, a
// registry value's own name.
std::string switchNameOf(const StartupEntry& entry);

bool switchSaysOff(const RegistryValue& value);
// The switch turned on as Windows writes it: bit 0 of the first byte
// cleared, the rest of the flags kept, the time of the change zeroed.
RegistryValue switchedOn(const RegistryValue& value);

}  // namespace lsu
