#pragma once
// Small helpers that put start-up entries where Windows keeps them and find
// them again in a fresh load.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "catalog/StartupEntry.h"
#include "platform/Ports.h"
#include "platform/Services.h"

namespace lsu::test {

using Texts = std::vector<std::string>;

// A step that prepares a test must succeed; the test fails when it does not.
template <typename T>
void expectDone(const Result<T>& done, const std::string& what) {
    if (!done) ADD_FAILURE() << what << ": " << done.error().message;
}

RegistryValue stringValue(const std::string& name, const std::string& data, std::uint32_t type = kRegSz);
RegistryValue dwordValue(const std::string& name, std::uint32_t number);

// The key of a registry leaf (disabled: its "-" key), in the view given; the
// current user's keys have one view only.
RegistryLocation registryKeyOf(SectionId leaf, bool disabled = false, RegistryView view = RegistryView::Bits64);
void seedRegistry(const ScanPorts& platform, SectionId leaf, const RegistryValue& value, bool disabled = false,
                  RegistryView view = RegistryView::Bits64);
void seedWinIni(const ScanPorts& platform, SectionId leaf, const std::string& line, bool disabled = false);
// The line of a win.ini leaf's key, in the section Windows reads or in the disabled one.
std::optional<std::string> winIniLine(const ScanPorts& platform, SectionId leaf, bool disabled = false);
// A Startup folder leaf's folder, or its disabled-items folder (created).
std::string startupFolder(const ScanPorts& platform, SectionId leaf, bool disabled = false);

// The service's key, as a Windows that is not running keeps it.
void seedServiceKey(Registry& registry, const ServiceConfig& service);

// The row of that name in a fresh load of the section.
std::optional<StartupEntry> findRow(const ScanPorts& platform, SectionId id, const std::string& name);
// One column of the rows as the list shows it, or one field of each row.
std::vector<std::string> cells(const EntryList& rows, Column column);
template <typename Field>
std::vector<Field> fieldOf(const EntryList& rows, Field StartupEntry::*field) {
    std::vector<Field> values;
    for (const auto& row : rows) values.push_back(row.*field);
    return values;
}

}  // namespace lsu::test
