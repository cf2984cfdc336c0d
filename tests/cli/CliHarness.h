#pragma once
// Drives lstartup-cli in-process and reads back what a script would see.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "catalog/StartupEntry.h"
#include "platform/Platform.h"
#include "support/Backend.h"

namespace lsu::test {

struct CliResult {
    int code = -1;
    std::string out;
    std::string err;
};

CliResult runTool(Platform& platform, const std::vector<std::string>& args, int terminalWidth = 200);

// Every entry of every section, enabled and parked, as the fields the list
// shows: what a change would have to alter.
std::vector<std::vector<std::string>> inventory(Platform& platform);

// The six fields of each row, in the list's order.
std::vector<std::vector<std::string>> fieldsOf(const EntryList& rows);

// One entry of each kind, enabled and disabled, in the registry, win.ini
// and both Startup folders.
void seedMixedInventory(Backend& backend);

// A test on a clean platform seeded with the mixed inventory above.
class MixedInventoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        backend_ = makeCleanBackend();
        seedMixedInventory(*backend_);
    }
    Platform& platform() { return backend_->platform(); }
    std::unique_ptr<Backend> backend_;
};

// RFC 4180 records, for reading the tool's CSV back.
std::vector<std::vector<std::string>> parseCsv(const std::string& text);

}  // namespace lsu::test
