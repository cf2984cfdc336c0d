#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "cli/CliHarness.h"
#include "cli/ExitCodes.h"
#include "operations/journal/InventorySnapshot.h"

// Snapshots of what Windows starts, compared: by the tool between two saved
// moments, and by the window with what it showed last.

namespace lsu::test {
namespace {

using enum SectionId;

class SnapshotDiffTest : public BackendTest {
protected:
    std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        ("lsu-snapshots-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));

    SnapshotDiffTest() { std::filesystem::create_directories(folder); }
    ~SnapshotDiffTest() override { std::filesystem::remove_all(folder); }

    std::string fileNamed(const std::string& name) { return (folder / name).string(); }

    // The seeded entries, then each of the four kinds of difference made to them.
    void seedEntries() {
        for (const char* name : {"Kept", "Changed", "Switched", "Removed"})
            seedRegistry(platform, UserRun, stringValue(name, std::string("C:\\") + name + ".exe"));
    }
    void makeDifferences() {
        seedRegistry(platform, UserRun, stringValue("Changed", "C:\\Changed.exe /new"));
        seedRegistry(platform, UserRun, stringValue("Switched", "C:\\Switched.exe"), true);
        for (const char* name : {"Switched", "Removed"})
            expectDone(platform.registry.deleteValue(registryKeyOf(UserRun), name), "removing a value");
        seedRegistry(platform, MachineRun, stringValue("Added", "C:\\Added.exe"));
    }
};

// Each difference as its kind and the entry's name, sorted.
std::vector<std::string> differencesListed(const std::string& json) {
    std::vector<std::string> found;
    for (const auto& difference : nlohmann::json::parse(json))
        found.push_back(difference["difference"].get<std::string>() + " " + difference["name"].get<std::string>());
    std::sort(found.begin(), found.end());
    return found;
}

TEST_F(SnapshotDiffTest, DiffOfTwoSavedSnapshotsListsExactlyTheSeededDifferences) {
    seedEntries();
    ASSERT_EQ(runTool(platform, {"snapshot", "save", fileNamed("before.json")}).code, cli::kExitOk);
    makeDifferences();
    ASSERT_EQ(runTool(platform, {"snapshot", "save", fileNamed("after.json")}).code, cli::kExitOk);
    const CliResult diff =
        runTool(platform, {"diff", fileNamed("before.json"), fileNamed("after.json"), "--format", "json"});
    EXPECT_EQ(diff.code, cli::kExitSomethingAdded);
    EXPECT_EQ(differencesListed(diff.out),
              (std::vector<std::string>{"added Added", "changed Changed", "removed Removed", "switched Switched"}));
    const CliResult now = runTool(platform, {"diff", fileNamed("after.json"), "--format", "csv"});
    EXPECT_EQ(now.code, cli::kExitOk);
    EXPECT_EQ(now.out, "Difference,Section,View,Name,Command Line,Before,Starts\r\n");
    const CliResult back = runTool(platform, {"diff", fileNamed("after.json"), fileNamed("before.json")});
    EXPECT_EQ(back.code, cli::kExitSomethingAdded);
    EXPECT_EQ(linesOf(back.out).size(), 5u);
}

TEST_F(SnapshotDiffTest, ASnapshotThatCannotBeReadFailsTheDiff) {
    std::ofstream(folder / "damaged.json") << "{\"format\":\"lstartup-snapshot-1\",\"entries\":[{\"name\":1}]}";
    for (const char* name : {"damaged.json", "missing.json"}) {
        const CliResult diff = runTool(platform, {"diff", fileNamed(name)});
        EXPECT_EQ(diff.code, cli::kExitOperationFailed) << name;
        EXPECT_EQ(diff.out, "") << name;
    }
}

TEST_F(SnapshotDiffTest, TheLastLookMarksAnAddedAndAChangedEntryAndNothingElse) {
    seedEntries();
    const InventorySnapshot last = snapshotOf(loadSection(platform, AllPrograms).rows);
    makeDifferences();
    EntryList rows = loadSection(platform, AllPrograms).rows;
    markSinceSnapshot(rows, last);
    std::vector<std::string> marked;
    for (const StartupEntry& row : rows)
        if (row.sinceLastLook != SinceLastLook::Seen) marked.push_back(row.name + ": " + cellText(row, Column::State));
    std::sort(marked.begin(), marked.end());
    EXPECT_EQ(marked, (std::vector<std::string>{"Added: Enabled, New", "Changed: Enabled, Changed"}));
}

}  // namespace
}  // namespace lsu::test
