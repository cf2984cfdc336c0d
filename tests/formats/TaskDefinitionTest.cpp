// Task definitions as the Task Scheduler writes them (UTF-16 with a byte
// order mark, its published schema): their settings, triggers and actions,
// and what a task starts by itself at logon or at start-up.

#include <gtest/gtest.h>

#include <string>

#include "formats/DocumentBytes.h"
#include "platform/formats/TaskDefinition.h"

namespace lsu::formats {
namespace {

using test::ByteOrder;
using test::bytesOf;
using test::utf16BytesOf;

constexpr const char* kNotepad =
    "<Exec><Command>%windir%\\system32\\notepad.exe</Command><Arguments>C:\\notes.txt</Arguments></Exec>";
constexpr const char* kUpdater =
    "<Exec><Command>C:\\Program Files\\Vendor\\updater.exe</Command><Arguments>/silent /check</Arguments>"
    "<WorkingDirectory>C:\\Program Files\\Vendor</WorkingDirectory></Exec>";
constexpr const char* kComHandler =
    "<ComHandler><ClassId>{A6BA00FE-40E8-477C-B713-C64A14F18ADB}</ClassId><Data>x</Data></ComHandler>";

// A definition laid out as the scheduler exports one.
std::string taskXml(const std::string& triggers, const std::string& actions, const std::string& settings = "") {
    return "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n"
           "<Task version=\"1.2\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">\n"
           "  <RegistrationInfo>\n"
           "    <Date>2023-04-01T09:30:00</Date>\n"
           "    <Author>VENDOR\\installer</Author>\n"
           "    <URI>\\Vendor\\Updater</URI>\n"
           "  </RegistrationInfo>\n"
           "  <Triggers>" +
           triggers +
           "</Triggers>\n"
           "  <Principals>\n"
           "    <Principal id=\"Author\"><UserId>S-1-5-18</UserId><RunLevel>HighestAvailable</RunLevel></Principal>\n"
           "  </Principals>\n"
           "  <Settings>\n"
           "    <MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy>\n"
           "    <DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>\n" +
           settings +
           "    <IdleSettings><StopOnIdleEnd>true</StopOnIdleEnd><RestartOnIdle>false</RestartOnIdle></IdleSettings>\n"
           "  </Settings>\n"
           "  <Actions Context=\"Author\">" +
           actions +
           "</Actions>\n"
           "</Task>";
}

// The definition as the scheduler exports it: UTF-16 with a byte order mark.
std::vector<std::uint8_t> exported(const std::string& triggers, const std::string& actions,
                                   const std::string& settings = "") {
    return utf16BytesOf(taskXml(triggers, actions, settings), ByteOrder::Little, true);
}

const std::string kNotepadLine = "\"%windir%\\system32\\notepad.exe\" C:\\notes.txt";

struct SettingsCase {
    const char* what;
    std::vector<std::uint8_t> bytes;
    bool enabled, hidden;
    const char* uri;
};

// A disabled task still says what it would start.
TEST(TaskDefinition, SettingsAreReadAndMissingOnesTakeTheSchemaDefaults) {
    const SettingsCase cases[] = {
        {"both set", exported("<LogonTrigger/>", kNotepad, "<Enabled>false</Enabled><Hidden>true</Hidden>"), false,
         true, "\\Vendor\\Updater"},
        {"neither set", exported("<LogonTrigger/>", kNotepad), true, false, "\\Vendor\\Updater"},
        {"no settings or registration",
         bytesOf("<Task xmlns='http://schemas.microsoft.com/windows/2004/02/mit/task'><Triggers><LogonTrigger/>"
                 "</Triggers><Actions>" +
                 std::string(kNotepad) + "</Actions></Task>"),
         true, false, ""},
    };
    for (const SettingsCase& c : cases) {
        auto task = readTaskDefinition(c.bytes);
        ASSERT_TRUE(task) << c.what << ": " << task.error().message;
        EXPECT_EQ(task->enabled, c.enabled) << c.what;
        EXPECT_EQ(task->hidden, c.hidden) << c.what;
        EXPECT_EQ(task->uri, c.uri) << c.what;
        EXPECT_EQ(startupLaunchOf(*task), (TaskLaunch{true, false, kNotepadLine})) << c.what;
    }
}

TEST(TaskDefinition, TheTextARegisteredTaskHandsOutIsReadThoughItsDeclarationSaysUtf16) {
    auto task = readTaskDefinitionText(taskXml("<BootTrigger/>", kNotepad, "<Hidden>true</Hidden>"));
    ASSERT_TRUE(task) << task.error().message;
    EXPECT_TRUE(task->hidden);
    EXPECT_EQ(startupLaunchOf(*task), (TaskLaunch{false, true, kNotepadLine}));
}

TEST(TaskDefinition, EachTriggerKindIsReadWithItsOwnEnabled) {
    const std::string triggers =
        "<LogonTrigger><Enabled>true</Enabled><UserId>PC\\ann</UserId><Delay>PT30S</Delay></LogonTrigger>"
        "<BootTrigger><Enabled>false</Enabled></BootTrigger>"
        "<TimeTrigger><StartBoundary>2023-04-01T10:00:00</StartBoundary><Enabled>true</Enabled></TimeTrigger>"
        "<CalendarTrigger><StartBoundary>2023-04-01T03:00:00</StartBoundary>"
        "<ScheduleByDay><DaysInterval>1</DaysInterval></ScheduleByDay></CalendarTrigger>"
        "<EventTrigger><Subscription>&lt;QueryList&gt;&lt;/QueryList&gt;</Subscription></EventTrigger>"
        "<RegistrationTrigger><Enabled>0</Enabled></RegistrationTrigger>"
        "<IdleTrigger/>"
        "<SessionStateChangeTrigger><StateChange>SessionUnlock</StateChange></SessionStateChangeTrigger>"
        "<WnfStateChangeTrigger><StateName>7508BCA3</StateName></WnfStateChangeTrigger>";
    auto task = readTaskDefinition(exported(triggers, kNotepad));
    ASSERT_TRUE(task) << task.error().message;
    const std::vector<TaskTrigger> expected = {
        {TaskTriggerKind::Logon, true}, {TaskTriggerKind::Boot, false},
        {TaskTriggerKind::Time, true},  {TaskTriggerKind::Calendar, true},
        {TaskTriggerKind::Event, true}, {TaskTriggerKind::Registration, false},
        {TaskTriggerKind::Idle, true},  {TaskTriggerKind::SessionStateChange, true},
        {TaskTriggerKind::Other, true},
    };
    EXPECT_EQ(task->triggers, expected);
}

TEST(TaskDefinition, EachActionKindIsReadAndOnlyExecCarriesACommand) {
    const std::string actions = std::string(kComHandler) + kUpdater +
                                "<SendEmail><Server>mail</Server></SendEmail>"
                                "<ShowMessage><Title>t</Title><Body>b</Body></ShowMessage>" +
                                kNotepad;
    auto task = readTaskDefinition(exported("<LogonTrigger/>", actions));
    ASSERT_TRUE(task) << task.error().message;
    const std::vector<TaskAction> expected = {
        {TaskActionKind::ComHandler, "", "", ""},
        {TaskActionKind::Exec, "C:\\Program Files\\Vendor\\updater.exe", "/silent /check", "C:\\Program Files\\Vendor"},
        {TaskActionKind::SendEmail, "", "", ""},
        {TaskActionKind::ShowMessage, "", "", ""},
        {TaskActionKind::Exec, "%windir%\\system32\\notepad.exe", "C:\\notes.txt", ""},
    };
    EXPECT_EQ(task->actions, expected);
}

struct LaunchCase {
    const char* what;
    std::string triggers;
    std::string actions;
    std::optional<TaskLaunch> launch;
};

TEST(TaskDefinition, ATaskStartsAProgramAtLogonOrStartUpOnlyThroughAnEnabledTriggerAndAnExecAction) {
    const std::string updater = "\"C:\\Program Files\\Vendor\\updater.exe\" /silent /check";
    const LaunchCase cases[] = {
        {"a logon trigger", "<LogonTrigger/>", kUpdater, TaskLaunch{true, false, updater}},
        {"a boot trigger", "<BootTrigger><Delay>PT1M</Delay></BootTrigger>", kUpdater,
         TaskLaunch{false, true, updater}},
        {"both", "<BootTrigger/><LogonTrigger/>", kUpdater, TaskLaunch{true, true, updater}},
        {"a time trigger only", "<TimeTrigger><StartBoundary>2023-04-01T10:00:00</StartBoundary></TimeTrigger>",
         kUpdater, std::nullopt},
        {"an event trigger only", "<EventTrigger><Subscription>x</Subscription></EventTrigger>", kUpdater,
         std::nullopt},
        {"a disabled logon trigger", "<LogonTrigger><Enabled>false</Enabled></LogonTrigger>", kUpdater, std::nullopt},
        {"a disabled logon and an enabled boot trigger",
         "<LogonTrigger><Enabled>false</Enabled></LogonTrigger><BootTrigger/>", kUpdater,
         TaskLaunch{false, true, updater}},
        {"no Exec action", "<LogonTrigger/>", kComHandler, std::nullopt},
        {"no actions", "<LogonTrigger/>", "", std::nullopt},
        {"the first Exec action of several", "<LogonTrigger/>", std::string(kComHandler) + kUpdater + kNotepad,
         TaskLaunch{true, false, updater}},
    };
    for (const LaunchCase& c : cases) {
        auto task = readTaskDefinition(exported(c.triggers, c.actions));
        ASSERT_TRUE(task) << c.what << ": " << task.error().message;
        EXPECT_EQ(startupLaunchOf(*task), c.launch) << c.what;
    }
}

struct CommandLineCase {
    const char* command;
    const char* arguments;
    const char* commandLine;
};

TEST(TaskDefinition, TheCommandLineQuotesTheProgramOnce) {
    const CommandLineCase cases[] = {
        {"C:\\Program Files\\Vendor\\app.exe", "/a \"b c\"", "\"C:\\Program Files\\Vendor\\app.exe\" /a \"b c\""},
        {"\"C:\\Program Files\\Vendor\\app.exe\"", "/a", "\"C:\\Program Files\\Vendor\\app.exe\" /a"},
        {"C:\\Tools\\tool.exe", "", "\"C:\\Tools\\tool.exe\""},
        {"  %ProgramFiles%\\x.exe\n", "-q", "\"%ProgramFiles%\\x.exe\" -q"},
        {"cmd.exe", "/c \"C:\\run me.cmd\"", "\"cmd.exe\" /c \"C:\\run me.cmd\""},
    };
    for (const CommandLineCase& c : cases) {
        EXPECT_EQ(execCommandLine({TaskActionKind::Exec, c.command, c.arguments, ""}), c.commandLine) << c.command;
    }
}

struct DamagedCase {
    const char* what;
    std::vector<std::uint8_t> bytes;
};

TEST(TaskDefinition, DefinitionsTheSchedulerWouldNotHaveRegisteredAreDamaged) {
    const std::string task = taskXml("<LogonTrigger/>", kNotepad);
    const DamagedCase cases[] = {
        {"cut short", utf16BytesOf(task.substr(0, task.size() / 2), ByteOrder::Little, true)},
        {"no namespace", bytesOf("<Task><Actions>" + std::string(kNotepad) + "</Actions></Task>")},
        {"another root",
         bytesOf("<Job xmlns='http://schemas.microsoft.com/windows/2004/02/mit/task'><Actions/></Job>")},
        {"a task of another namespace", bytesOf("<Task xmlns='urn:other'><Actions/></Task>")},
        {"an Exec action without a command", exported("<LogonTrigger/>", "<Exec><Arguments>/a</Arguments></Exec>")},
        {"an Exec action with an empty command", exported("<LogonTrigger/>", "<Exec><Command> </Command></Exec>")},
        {"a setting that is no boolean", exported("<LogonTrigger/>", kNotepad, "<Enabled>yes</Enabled>")},
        {"a hidden flag that is no boolean", exported("<LogonTrigger/>", kNotepad, "<Hidden>TRUE</Hidden>")},
        {"a trigger flag that is no boolean", exported("<LogonTrigger><Enabled>on</Enabled></LogonTrigger>", kNotepad)},
        {"a document type",
         bytesOf("<!DOCTYPE Task><Task xmlns='http://schemas.microsoft.com/windows/2004/02/mit/task'/>")},
    };
    for (const DamagedCase& c : cases) {
        auto definition = readTaskDefinition(c.bytes);
        ASSERT_FALSE(definition) << c.what;
        EXPECT_EQ(definition.error().kind, ErrorKind::DamagedData) << c.what;
    }
}

TEST(TaskDefinition, ElementsOfAnotherNamespaceAreNotTakenForTheSchedulers) {
    auto task = readTaskDefinition(
        bytesOf("<t:Task xmlns:t='http://schemas.microsoft.com/windows/2004/02/mit/task' xmlns:o='urn:other'>"
                "<t:Triggers><o:LogonTrigger/></t:Triggers><o:Settings><o:Enabled>false</o:Enabled></o:Settings>"
                "<t:Actions>"
                "<t:Exec><t:Command>a.exe</t:Command></t:Exec></t:Actions></t:Task>"));
    ASSERT_TRUE(task) << task.error().message;
    EXPECT_TRUE(task->enabled);
    EXPECT_EQ(task->triggers, (std::vector<TaskTrigger>{{TaskTriggerKind::Other, true}}));
    EXPECT_EQ(startupLaunchOf(*task), std::nullopt);
}

}  // namespace
}  // namespace lsu::formats
