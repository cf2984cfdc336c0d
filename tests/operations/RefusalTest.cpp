// Changes the system would carry out on another place than the one listed,
// or that cannot be carried out whole, are refused or taken back with
// nothing left changed: every source reads back byte for byte as before.

#include <functional>
#include <utility>

#include "catalog/DisabledStores.h"
#include "operations/OperationsFixture.h"
#include "scanners/SectionLoading.h"
#include "support/SourcesSnapshot.h"

namespace lsu::test {
namespace {

using enum SectionId;

using Change = std::function<ChangeResult(const SourcePorts&, UserPrompts&, const StartupEntry&)>;

ChangeResult clickOf(const SourcePorts& platform, UserPrompts& prompts, const StartupEntry& row) {
    StartupEntry clicked = row;
    return clickBox(platform, prompts, clicked).result;
}

ChangeResult deleteOf(const SourcePorts& platform, UserPrompts&, const StartupEntry& row) {
    return deleteEntry(platform, row);
}

ChangeResult renameOf(const SourcePorts& platform, UserPrompts& prompts, const StartupEntry& row) {
    return editEntry(platform, prompts, row, {"Renamed.bat", row.commandLine, row.section});
}

// The file's name would lead the system elsewhere: the name without its
// trailing dot or space, a device, nothing Windows could have made.
TEST_F(RefusingSystemTest, ChangesToAFileWhoseNameWindowsCannotGiveAreRefusedNamingTheFile) {
    const std::string startup = platform.shellFolder(ShellFolder::UserStartup);
    const std::string parked = disabledItemsFolder(platform, StartupCurrentUser);
    for (const char* name : {"Keep.bat.", "Keep.bat ", "aux.bat", "tab\there.bat", "what?.bat"})
        for (bool isParked : {false, true})
            for (const Change& change : {Change(clickOf), Change(deleteOf), Change(renameOf)}) {
                SCOPED_TRACE(std::string(name) + (isParked ? ", parked" : ""));
                MemoryPlatform fresh;
                const std::string folder = isParked ? parked : startup;
                fresh.putFile(folder + "\\" + name, {'c', 'r', 'a', 'f', 't'});
                const StartupEntry row = loadSection(fresh, StartupCurrentUser).rows.at(0);
                EXPECT_NE(stateReason(row), nullptr);
                const SourcesSnapshot before = snapshotOfSources(fresh);
                const ChangeResult refused = change(fresh, prompts, row);
                ASSERT_FALSE(refused);
                EXPECT_EQ(refused.error().kind, ErrorKind::UnsafeName);
                EXPECT_NE(refused.error().message.find(folder + "\\" + name), std::string::npos)
                    << refused.error().message;
                EXPECT_EQ(changesBetween(before, snapshotOfSources(fresh)), "");
            }
}

// The first call of each of these kinds fails.
void failFirst(MemoryPlatform& platform, const std::vector<MemoryOp>& failing) {
    platform.failWhen = [failing, done = std::vector<MemoryOp>{}](MemoryOp op) mutable {
        if (std::find(failing.begin(), failing.end(), op) == failing.end()) return false;
        if (std::find(done.begin(), done.end(), op) != done.end()) return false;
        done.push_back(op);
        return true;
    };
}

// The key or the folders a move made for its target go again when the move
// is taken back.
TEST(FailedMoveTakenBack, LeavesNoKeyNorFolderItMade) {
    const std::pair<SectionId, std::vector<MemoryOp>> cases[] = {
        {UserRun, {MemoryOp::RegistryDelete}},
        {MachineRunOnce, {MemoryOp::RegistryDelete}},
        {StartupCurrentUser, {MemoryOp::FileMove, MemoryOp::FileDelete}},
    };
    for (const auto& [leaf, failing] : cases) {
        SCOPED_TRACE(std::string(section(leaf).key));
        MemoryPlatform platform;
        ScriptedPrompts prompts;
        if (sourceAs<RegistrySource>(leaf)) seedRegistry(platform, leaf, stringValue("Tool", "C:\\tool.exe"));
        else platform.putFile(platform.shellFolder(ShellFolder::UserStartup) + "\\tool.bat", {'x'});
        StartupEntry row = loadSection(platform, leaf).rows.at(0);
        const SourcesSnapshot before = snapshotOfSources(platform);
        failFirst(platform, failing);
        EXPECT_FALSE(clickBox(platform, prompts, row));
        platform.failWhen = nullptr;
        EXPECT_EQ(changesBetween(before, snapshotOfSources(platform)), "");
    }
}

// An entry held open by another program, or one its source lists but that
// cannot be found by its name, still stands: no change to it reports
// success, and the user learns the system's reason.
TEST_F(RefusingSystemTest, AnEntryThatCannotBeReadIsNeitherDeletedNorMovedAndTheSystemSaysWhy) {
    const std::string startup = platform.shellFolder(ShellFolder::UserStartup);
    platform.putFile(startup + "\\tool.bat", {'x'});
    seedRegistry(platform, UserRun, stringValue("Tool", "C:\\tool.exe"));
    const StartupEntry file = findRow(platform, StartupCurrentUser, "tool.bat").value();
    const StartupEntry value = findRow(platform, UserRun, "Tool").value();
    platform.holdOpen(startup + "\\tool.bat");
    const auto misreadFirstValue = [&] { failFirst(platform, {MemoryOp::RegistryRead}); };
    const std::tuple<const char*, StartupEntry, std::function<void()>, Change, std::string> cases[] = {
        {"deleting a file held open", file, [] {}, deleteOf, "being used by another process"},
        {"parking a file held open", file, [] {}, clickOf, "being used by another process"},
        {"deleting a value that reads as absent", value, misreadFirstValue, deleteOf, "is still listed"},
    };
    for (const auto& [what, row, prepare, change, reason] : cases) {
        const SourcesSnapshot before = snapshotOfSources(platform);
        prepare();
        const ChangeResult failed = change(platform, prompts, row);
        platform.failWhen = nullptr;
        ASSERT_FALSE(failed) << what;
        EXPECT_NE(failed.error().message.find(reason), std::string::npos) << what << ": " << failed.error().message;
        EXPECT_EQ(changesBetween(before, snapshotOfSources(platform)), "") << what;
    }
}

}  // namespace
}  // namespace lsu::test
