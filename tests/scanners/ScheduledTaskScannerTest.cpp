#include <gtest/gtest.h>

#include "operations/Operations.h"
#include "operations/journal/Undo.h"
#include "platform/memory/MemoryPlatform.h"
#include "scanners/SectionLoading.h"
#include "support/Seed.h"
#include "support/StartupDocuments.h"

// Scheduled tasks as the scheduler hands them out, with definitions written
// from its published schema: which are listed, in which leaf, and how their
// switch is turned. Wine's scheduler keeps no triggers or actions, so these
// run on the in-memory one.

namespace lsu {
namespace {

using namespace test;
using enum SectionId;

const std::string kUpdater = execAction("C:\\Program Files\\Vendor\\updater.exe", "/silent");

class NoPrompts : public UserPrompts {
public:
    bool ask(const std::string&, const std::string&, MessageKind) override { return false; }
};

class ScheduledTaskScanner : public ::testing::Test {
protected:
    MemoryPlatform platform;
    NoPrompts prompts;

    std::vector<std::string> names(SectionId id) { return cells(loadSection(platform, id).rows, Column::Name); }
    StartupEntry row(SectionId leaf, const std::string& path) { return findRow(platform, leaf, path).value(); }
};

TEST_F(ScheduledTaskScanner, OnlyTasksStartingAProgramAtLogonOrStartUpAreListedInTheirLeaf) {
    platform.putTask("\\AtLogon", taskDefinition(kLogonTrigger, kUpdater));
    platform.putTask("\\AtBoot", taskDefinition(kBootTrigger, kUpdater));
    platform.putTask("\\Both", taskDefinition(std::string(kTimeTrigger) + kLogonTrigger + kBootTrigger, kUpdater));
    platform.putTask("\\Nightly", taskDefinition(kTimeTrigger, kUpdater));
    platform.putTask("\\OnEvent", taskDefinition(kEventTrigger, kUpdater));
    platform.putTask("\\ComOnly", taskDefinition(kLogonTrigger,
                                                 "<ComHandler><ClassId>{A6BA00FE-40E8-477C-B713-C64A14F18ADB}</ClassId>"
                                                 "</ComHandler>"));
    platform.putTask("\\Malformed", taskDefinition(kLogonTrigger, kUpdater).substr(0, 200));
    platform.putTask("\\Hidden", taskDefinition(kLogonTrigger, kUpdater, true, true));
    platform.putTask("\\Vendor\\Suite\\Agents\\Deep", taskDefinition(kBootTrigger, kUpdater));
    EXPECT_EQ(names(TasksAtLogon), (Texts{"\\AtLogon", "\\Both", "\\Hidden"}));
    EXPECT_EQ(names(TasksAtStartup), (Texts{"\\AtBoot", "\\Both", "\\Vendor\\Suite\\Agents\\Deep"}));
    EXPECT_EQ(loadSection(platform, ScheduledTasks).rows.size(), 6u);
}

TEST_F(ScheduledTaskScanner, ARowIsTheTasksPathItsFirstProgramAndItsOwnSwitch) {
    const std::string actions = "<ComHandler><ClassId>{A6BA00FE-40E8-477C-B713-C64A14F18ADB}</ClassId></ComHandler>" +
                                kUpdater + execAction("C:\\second.exe");
    platform.putFile("C:\\Program Files\\Vendor\\updater.exe", {'M', 'Z'}, "Vendor Inc.");
    platform.putTask("\\Vendor\\Updater", taskDefinition(kLogonTrigger, actions));
    platform.putTask("\\Vendor\\Off", taskDefinition(kLogonTrigger, kUpdater, false), false);
    const EntryList rows = loadSection(platform, TasksAtLogon).rows;
    EXPECT_EQ(cells(rows, Column::CommandLine), Texts(2, "\"C:\\Program Files\\Vendor\\updater.exe\" /silent"));
    EXPECT_EQ(cells(rows, Column::Type), Texts(2, "Task"));
    EXPECT_EQ(cells(rows, Column::Exists), Texts(2, "Yes"));
    EXPECT_EQ(cells(rows, Column::Publisher), Texts(2, "Vendor Inc."));
    EXPECT_EQ(cells(rows, Column::State), (Texts{"Disabled", "Enabled"}));
    EXPECT_EQ(fieldOf(rows, &StartupEntry::taskPath), (Texts{"\\Vendor\\Off", "\\Vendor\\Updater"}));
}

TEST_F(ScheduledTaskScanner, SwitchingATaskTurnsItsSwitchAndNothingElse) {
    platform.putTask("\\Vendor\\Updater", taskDefinition(kLogonTrigger, kUpdater));
    for (bool tick : {false, true}) {
        StartupEntry listed = row(TasksAtLogon, "\\Vendor\\Updater");
        listed.checked = tick;
        ASSERT_TRUE(applyCheckState(platform, prompts, listed));
        EXPECT_EQ(platform.registeredTasks()->at(0),
                  (RegisteredTask{"\\Vendor\\Updater", taskDefinition(kLogonTrigger, kUpdater), tick}));
        EXPECT_EQ(row(TasksAtLogon, "\\Vendor\\Updater").checked, tick);
    }
}

// The journal keeps a task's switch as it stood, and the undo puts it back
// with nothing else of the task changed.
TEST_F(ScheduledTaskScanner, ASwitchedTaskIsUndoneToItsSwitch) {
    const RegisteredTask registered{"\\Vendor\\Updater", taskDefinition(kLogonTrigger, kUpdater), true};
    platform.putTask(registered.path, registered.definition);
    ChangeJournal journal(platform, platform, "test");
    StartupEntry listed = row(TasksAtLogon, registered.path);
    listed.checked = false;
    ASSERT_TRUE(recordChange(journal, platform, changeTitle(ChangeAction::Disable, TasksAtLogon, listed.name),
                             [&](const SourcePorts& ports) { return applyCheckState(ports, prompts, listed); }));
    ASSERT_FALSE(platform.registeredTasks()->at(0).enabled);
    ASSERT_TRUE(undoChange(journal, platform, std::nullopt));
    EXPECT_EQ(platform.registeredTasks()->at(0), registered);
}

// Wine's scheduler answers a switch with success and leaves the task as it was.
TEST_F(ScheduledTaskScanner, ASwitchThatDoesNotReadBackFailsAndTheBoxShowsTheTaskAsItIs) {
    platform.putTask("\\Vendor\\Updater", taskDefinition(kLogonTrigger, kUpdater));
    platform.ignoreTaskSwitches();
    StartupEntry listed = row(TasksAtLogon, "\\Vendor\\Updater");
    listed.checked = false;
    const ChangeResult switched = applyCheckState(platform, prompts, listed);
    ASSERT_FALSE(switched);
    EXPECT_EQ(switched.error().kind, ErrorKind::ReadBackMismatch);
    EXPECT_TRUE(listed.checked && listed.enabled);
}

// The scheduler keeps the task: it is switched here, never deleted.
TEST_F(ScheduledTaskScanner, ATaskIsOnlySwitchedHere) {
    platform.putTask("\\Vendor\\Updater", taskDefinition(kLogonTrigger, kUpdater));
    const StartupEntry listed = row(TasksAtLogon, "\\Vendor\\Updater");
    const ChangeResult deleted = deleteEntry(platform, listed);
    ASSERT_FALSE(deleted);
    EXPECT_EQ(deleted.error().kind, ErrorKind::NotOffered);
    EXPECT_EQ(platform.registeredTasks()->size(), 1u);
}

// A scheduler that cannot be asked lists nothing, and holds back no other source.
TEST_F(ScheduledTaskScanner, ASchedulerThatCannotBeAskedListsNothingAndTheOtherSourcesAreRead) {
    platform.putTask("\\Vendor\\Updater", taskDefinition(kLogonTrigger, kUpdater));
    seedRegistry(platform, UserRun, stringValue("Tool", "tool.exe"));
    platform.failWhen = [](MemoryOp op) { return op == MemoryOp::TaskRead; };
    EXPECT_EQ(names(AllPrograms), (Texts{"Tool"}));
}

}  // namespace
}  // namespace lsu
