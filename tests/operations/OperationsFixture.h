#pragma once
// A clean platform, a scripted user and the rows a section lists, for the
// tests of the entry operations.

#include <gtest/gtest.h>

#include <optional>

#include "catalog/StartupEntry.h"
#include "operations/ScriptedPrompts.h"
#include "scanners/SectionLoading.h"
#include "support/Backend.h"

namespace lsu::test {

class OperationsTest : public ::testing::Test {
protected:
    std::unique_ptr<Backend> backend = makeCleanBackend();
    Platform& platform = backend->platform();
    ScriptedPrompts prompts;

    // The row of the section named so, as a fresh load lists it.
    std::optional<StartupEntry> row(std::string_view section, const std::string& name) {
        for (auto& entry : loadPrograms(platform, section).rows)
            if (entry.Name == name) return entry;
        return std::nullopt;
    }
    std::size_t rowCount(std::string_view section) { return loadPrograms(platform, section).rows.size(); }
};

}  // namespace lsu::test
