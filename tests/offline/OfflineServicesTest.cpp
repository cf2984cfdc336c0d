// The Linux tool on the services of an offline tree: read from the control
// set Windows last started with, switched off and on again byte for byte,
// the record of how a service started kept in the SOFTWARE hive.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/ExitCodes.h"
#include "formats/PeImageBuilder.h"
#include "offline/OfflineFixture.h"

namespace lsu::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

const std::string kCurrentSync = "ControlSet002\\Services\\Sync";
const std::string kOtherSync = "ControlSet001\\Services\\Sync";
const std::string kRecord = "LStartUp\\Parked Services\\Sync";

HiveEntry dwordEntry(const std::string& key, const std::string& name, std::uint32_t number) {
    return {key,
            name,
            kRegDword,
            {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
             static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)}};
}

class OfflineServices : public ::testing::Test {
protected:
    std::string tree = makeWindowsTree(suiteVolume().mountPoint());

    // The current set holds the service as Windows starts it; the other set
    // an older state that a reader of the wrong set would take.
    void SetUp() override {
        fillHive(
            tree + kSystemHive,
            {dwordEntry(kCurrentSync, "Type", kServiceOwnProcess), dwordEntry(kCurrentSync, "Start", 2),
             dwordEntry(kCurrentSync, "DelayedAutostart", 1),
             stringEntry(kCurrentSync, "ImagePath", "\"C:\\Program Files\\Sync\\sync.exe\" /service", kRegExpandSz),
             stringEntry(kCurrentSync, "DisplayName", "@%SystemRoot%\\system32\\lsusync.dll,-101"),
             dwordEntry(kOtherSync, "Type", kServiceOwnProcess), dwordEntry(kOtherSync, "Start", 3),
             stringEntry(kOtherSync, "ImagePath", "C:\\Old\\sync.exe")});
        putBytes(tree + "/Windows/System32/lsusync.dll", peImageWith(stringTable({{101, "Sync Helper"}}, 0x409)));
    }
    ProcessResult tool(const std::vector<std::string>& args) { return runTool(tree, args); }
    Bytes stored(const std::string& name) { return storedBytes(tree + kSystemHive, kCurrentSync, name); }
};

TEST_F(OfflineServices, ListsTheCurrentControlSetsServicesWithTheirDisplayNameResolvedFromTheVolume) {
    const ProcessResult listed = tool({"list", "Services", "--format", "json"});
    ASSERT_EQ(listed.code, cli::kExitOk) << listed.out;
    const auto rows = nlohmann::json::parse(listed.out);
    ASSERT_EQ(rows.size(), 1u) << listed.out;
    EXPECT_EQ(rows[0]["serviceName"], "Sync");
    EXPECT_EQ(rows[0]["displayName"], "Sync Helper");
    EXPECT_EQ(rows[0]["section"], "Services\\Automatic (delayed)");
    EXPECT_EQ(rows[0]["commandLine"], "\"C:\\Program Files\\Sync\\sync.exe\" /service");
    EXPECT_EQ(std::tuple(rows[0]["startType"], rows[0]["delayed"]), std::tuple(2, true));
}

TEST_F(OfflineServices, DisableAndEnableGiveBackTheExactBytesAndLeaveTheOtherControlSet) {
    const Bytes start = stored("Start"), delayed = stored("DelayedAutostart");
    const Bytes other = storedBytes(tree + kSystemHive, kOtherSync, "Start");
    const ProcessResult disabled = tool({"disable", "Services", "Sync Helper"});
    ASSERT_EQ(disabled.code, cli::kExitOk) << disabled.out;
    EXPECT_EQ(stored("Start"), (Bytes{kRegDword, 4, 0, 0, 0}));
    EXPECT_EQ(storedBytes(tree + kSoftwareHive, kRecord, "Start"), (Bytes{kRegDword, 2, 0, 0, 0}));
    EXPECT_EQ(storedBytes(tree + kSoftwareHive, kRecord, "DelayedAutostart"), (Bytes{kRegDword, 1, 0, 0, 0}));
    EXPECT_NE(tool({"list", "Services", "--format", "csv"}).out.find(",Disabled,"), std::string::npos);

    const ProcessResult enabled = tool({"enable", "Services", "Sync"});
    ASSERT_EQ(enabled.code, cli::kExitOk) << enabled.out;
    EXPECT_EQ(std::tuple(stored("Start"), stored("DelayedAutostart")), std::tuple(start, delayed));
    EXPECT_EQ(storedBytes(tree + kSoftwareHive, kRecord, "Start"), Bytes{});
    EXPECT_EQ(storedBytes(tree + kSystemHive, kOtherSync, "Start"), other);
    for (const char* hive : {kSystemHive, kSoftwareHive}) {
        const ProcessResult exported = runProcess({"regfexport", tree + hive});
        EXPECT_EQ(exported.code, 0) << hive << exported.out;
    }
}

// Select\Current naming no control set there leaves the services unread, and
// nothing is changed in their name.
TEST_F(OfflineServices, ASystemHiveNamingNoControlSetIsNotGuessedAt) {
    fillHive(tree + kSystemHive, {dwordEntry("Select", "Current", 7)});
    const auto before = snapshotOf(tree);
    EXPECT_EQ(tool({"list", "Services", "--format", "json"}).out, "[]\n");
    EXPECT_EQ(tool({"disable", "Services", "Sync"}).code, cli::kExitEntryNotFound);
    EXPECT_EQ(snapshotOf(tree), before);
}

}  // namespace
}  // namespace lsu::test
