#pragma once
// Small helpers that put start-up entries where Windows keeps them.

#include <string>

#include "platform/Platform.h"

namespace lsu::test {

RegistryValue stringValue(const std::string& name, const std::string& data, std::uint32_t type = kRegSz);
RegistryValue dwordValue(const std::string& name, std::uint32_t number);

// Writes into the key of a registry section (disabled: its "-" key).
void seedRegistry(Platform& platform, std::string_view sectionKey, const RegistryValue& value, bool disabled = false,
                  RegistryView view = RegistryView::Bits64);
void seedWinIni(Platform& platform, std::string_view key, const std::string& line, bool disabled = false);
std::string startupFolder(Platform& platform, std::string_view sectionKey, bool disabled = false);

}  // namespace lsu::test
