#include <utility>

#include "catalog/StartupSwitches.h"
#include "operations/EntryPlaces.h"
#include "operations/FileNames.h"
#include "operations/OperationsFixture.h"
#include "operations/Questions.h"
#include "operations/ShortcutWriter.h"
#include "scanners/SectionLoading.h"

namespace lsu::test {
namespace {

using enum SectionId;

TEST_F(OperationsTest, AddTakesOnlyNamesThatStayInTheStartupFolderAndNameNoDevice) {
    for (const char* name :
         {"Tool", "My Tool 2.0", "Überwachung", "COM10", "COM0", "LPT0", "CONSOLE", "tool.exe", "a..b"})
        EXPECT_FALSE(fileNameProblem(name)) << name;
    for (const char* name : {"",     ".",   "..",      "..\\..\\evil", "a/b",       "C:tool",  "a*b",   "a?b",
                             "a\"b", "a<b", "a>b",     "a|b",          "tab\there", "Tool.",   "Tool ", "CON",
                             "prn",  "Aux", "NUL.txt", "com1",         "COM9.lnk",  "lpt5.exe"}) {
        const ChangeResult added = addEntry(platform, prompts, {name, "C:\\evil.exe", StartupCurrentUser});
        ASSERT_FALSE(added) << name;
        EXPECT_EQ(added.error().kind, ErrorKind::InvalidInput) << name;
    }
    EXPECT_TRUE(platform.files.listFiles(userStartup).empty());
}

TEST_F(OperationsTest, AddWritesAStringValueAndAsksBeforeReplacingAnother) {
    ASSERT_TRUE(addEntry(platform, prompts, {"Tool", "C:\\Tools\\tool.exe /q", MachineRun}));
    const EntryForm value{"tool", "new.exe", MachineRun};
    const ChangeResult kept = addEntry(platform, prompts, value);
    EXPECT_EQ(prompts.questions.size(), 1u);
    EXPECT_EQ(messageAfterAdd(value, kept), (UserMessage{"Nothing was changed.", kAppTitle, MessageKind::Information}));
    EXPECT_EQ(platform.registry.readValue(registryKeyOf(MachineRun), "Tool"),
              stringValue("Tool", "C:\\Tools\\tool.exe /q"));
    // Keeping the link that stands under the name means no new item.
    ASSERT_TRUE(addEntry(platform, prompts, {"Tool", "C:\\Tools\\tool.exe", StartupCurrentUser}));
    const EntryForm link{"Tool", "C:\\Tools\\other.exe", StartupCurrentUser};
    const ChangeResult refused = addEntry(platform, prompts, link);
    EXPECT_EQ(messageAfterAdd(link, refused), (UserMessage{kAddFailedPrompt, kAddFailedTitle, MessageKind::Critical}));
}

// Added, or moved from the registry: the link runs the program with the
// rest of the line as its arguments, and bears the entry's name.
TEST_F(OperationsTest, LinkMadeFromACommandLineSplitsProgramAndArguments) {
    const std::string program = platform.system.windowsDirectory() + "\\notepad.exe";
    seedRegistry(platform, UserRun, stringValue("Tool", program + " /x"));
    const StartupEntry row = findRow(platform, UserRun, "Tool").value();
    ASSERT_TRUE(addEntry(platform, prompts, {"Editor", "\"" + program + "\" /p note.txt", StartupCurrentUser}));
    ASSERT_TRUE(editEntry(platform, prompts, row, {"Tool", row.commandLine, StartupCurrentUser}));
    EXPECT_FALSE(platform.registry.readValue(registryKeyOf(UserRun), "Tool"));
    EXPECT_EQ(platform.files.listFiles(userStartup), (std::vector<std::string>{"Editor.lnk", "Tool.lnk"}));
    for (const auto& [name, arguments] : {std::pair{"Editor", "/p note.txt"}, std::pair{"Tool", "/x"}}) {
        const ShortcutFields link = platform.links.readShortcut(userStartup + "\\" + name + ".lnk").value().fields;
        EXPECT_EQ(std::tie(link.targetPath, link.arguments, link.description), std::tie(program, arguments, name));
    }
}

TEST_F(OperationsTest, DeletingAParkedValueLeavesTheLiveOneOfTheSameName) {
    seedRegistry(platform, UserRun, stringValue("Tool", "live.exe"));
    seedRegistry(platform, UserRun, stringValue("Tool", "parked.exe"), true);
    ASSERT_TRUE(deleteEntry(platform, loadSection(platform, UserRun).rows.at(1)));
    EXPECT_FALSE(platform.registry.readValue(registryKeyOf(UserRun, true), "Tool"));
    EXPECT_EQ(platform.registry.readValue(registryKeyOf(UserRun), "Tool"), stringValue("Tool", "live.exe"));
}

TEST_F(OperationsTest, DeletingAnEntryNoLongerWhereItWasListedIsSilentAndTouchesNothingElse) {
    seedRegistry(platform, UserRun, stringValue("Tool", "tool.exe"));
    seedWinIni(platform, WinIniLoad, "first.exe");
    const EntryList rows = {findRow(platform, UserRun, "Tool").value(), findRow(platform, WinIniLoad, "first").value()};
    ASSERT_TRUE(platform.registry.deleteValue(registryKeyOf(UserRun), "Tool"));
    seedWinIni(platform, WinIniLoad, "second.exe");
    for (const StartupEntry& row : rows) EXPECT_EQ(deleteEntry(platform, row), ChangeResult(Changed{})) << row.name;
    EXPECT_EQ(winIniLine(platform, WinIniLoad), "second.exe");
}

TEST_F(RefusingSystemTest, RemovalReportedAsFailedCountsAsDoneWhenTheEntryIsGone) {
    seedRegistry(platform, UserRun, stringValue("Tool", "tool.exe"));
    const StartupEntry row = findRow(platform, UserRun, "Tool").value();
    // The system removes the value and still answers with an error.
    platform.failWhen = [&, removing = false](MemoryOp op) mutable {
        if (op != MemoryOp::RegistryDelete || std::exchange(removing, true)) return false;
        expectDone(platform.deleteValue(registryKeyOf(UserRun), "Tool"), "removing Tool");
        return true;
    };
    EXPECT_EQ(deleteEntry(platform, row), ChangeResult(Changed{}));
}

TEST_F(RefusingSystemTest, RefusedChangeSaysWhyAndChangesNothing) {
    const std::string startup = platform.shellFolder(ShellFolder::UserStartup);
    seedRegistry(platform, UserRun, stringValue("Old", "old.exe"));
    platform.putFile(startup + "\\tool.bat", {'x'});
    const StartupEntry value = findRow(platform, UserRun, "Old").value();
    const StartupEntry file = findRow(platform, StartupCurrentUser, "tool.bat").value();
    platform.makeReadOnly(Hive::LocalMachine);
    platform.makeReadOnly(startup);
    const auto refused = [&](const char* prompt, const char* title, const std::optional<UserMessage>& shown) {
        EXPECT_EQ(shown, needsAdministrator(prompt, title));
        EXPECT_EQ(loadSection(platform, AllPrograms).rows.size(), 2u) << prompt;
    };
    for (SectionId to : {MachineRun, StartupCurrentUser}) {
        const EntryForm added{"Tool", "t.exe", to};
        refused(kAddFailedPrompt, kAddFailedTitle, messageAfterAdd(added, addEntry(platform, prompts, added)));
        // The new entry is written first, so the old one stays.
        refused(kEditFailedPrompt, kEditFailedTitle,
                messageAfterEdit(editEntry(platform, prompts, value, {"New", "n.exe", to})));
    }
    refused(kDeleteFailedPrompt, kDeleteFailedTitle, messageAfterDelete(deleteEntry(platform, file)));
    // Without its Startup folder, the file's place is not known.
    platform.forgetShellFolder(ShellFolder::UserStartup);
    EXPECT_EQ(messageAfterDelete(deleteEntry(platform, file)),
              (UserMessage{std::string(kDeleteFailedPrompt) + kNoStartupFolderReason, kDeleteFailedTitle,
                           MessageKind::Critical}));
    EXPECT_EQ(platform.readValue(registryKeyOf(UserRun), "Old"), stringValue("Old", "old.exe"));
    EXPECT_TRUE(platform.fileExists(startup + "\\tool.bat"));
}

// A value renamed with its command left alone keeps its type and bytes; an
// edited parked value and win.ini line go where Windows starts them, and
// leave the disabled store.
TEST_F(OperationsTest, EditedEntryStandsWhereWindowsStartsItAndKeepsWhatTheFormLeavesAlone) {
    seedRegistry(platform, UserRun, stringValue("Old", "%ProgramFiles%\\t.exe", kRegExpandSz));
    seedRegistry(platform, UserRun, stringValue("Tool", "old.exe"), true);
    seedWinIni(platform, WinIniRun, "old.exe", true);
    const StartupEntry renamed = findRow(platform, UserRun, "Old").value(),
                       parked = findRow(platform, UserRun, "Tool").value();
    ASSERT_TRUE(editEntry(platform, prompts, renamed, {"New", renamed.commandLine, UserRun}));
    ASSERT_TRUE(editEntry(platform, prompts, parked, {"Tool", "new.exe", UserRun}));
    ASSERT_TRUE(
        editEntry(platform, prompts, findRow(platform, WinIniRun, "old").value(), {"old", "new.exe /x", WinIniRun}));
    EXPECT_EQ(platform.registry.readValues(registryKeyOf(UserRun)),
              (std::vector{stringValue("New", "%ProgramFiles%\\t.exe", kRegExpandSz), stringValue("Tool", "new.exe")}));
    EXPECT_EQ(platform.registry.readValues(registryKeyOf(UserRun, true)).value_or(std::vector<RegistryValue>{}),
              std::vector<RegistryValue>{});
    EXPECT_EQ(winIniLine(platform, WinIniRun), "new.exe /x");
    EXPECT_EQ(winIniLine(platform, WinIniRun, true), "");
}

TEST_F(OperationsTest, RenamedFileKeepsItsContentsOrLinkFieldsAndStaysInAStartupFolder) {
    ShortcutFields fields = linkTo(platform.system.windowsDirectory() + "\\notepad.exe", "/keep");
    fields.workDir = platform.system.windowsDirectory();
    backend->seedShortcut(userStartup + "\\Old.lnk", fields);
    const FileBytes bytes = {'e', 'c', 'h', 'o'};
    ASSERT_TRUE(platform.files.writeFile(userStartup + "\\old.bat", bytes));
    const StartupEntry script = findRow(platform, StartupCurrentUser, "old.bat").value();
    EXPECT_EQ(messageAfterEdit(editEntry(platform, prompts, script, {"new.bat", script.commandLine, UserRun})),
              (UserMessage{"A file in a Startup folder can only be moved to the other Startup folder.", kAppTitle,
                           MessageKind::Exclamation}));
    for (const auto& [from, to] : {std::pair{"Old", "New"}, std::pair{"old.bat", "new.bat"}}) {
        const StartupEntry row = findRow(platform, StartupCurrentUser, from).value();
        ASSERT_TRUE(editEntry(platform, prompts, row, {to, row.commandLine, StartupCurrentUser}));
    }
    EXPECT_EQ(platform.files.listFiles(userStartup), (std::vector<std::string>{"new.bat", "New.lnk"}));
    EXPECT_EQ(platform.files.readFile(userStartup + "\\new.bat"), bytes);
    const ShortcutFields renamed = platform.links.readShortcut(userStartup + "\\New.lnk").value().fields;
    EXPECT_EQ(std::tie(renamed.arguments, renamed.workDir), std::tie(fields.arguments, fields.workDir));
}

// The registry and the file system take a name that differs only in letter
// case for the name that stands; the edit renames all the same, Windows'
// switch of the entry with it.
TEST_F(OperationsTest, EditThatChangesOnlyTheLetterCaseOfANameRenamesTheEntry) {
    seedRegistry(platform, UserRun, stringValue("Tool", "C:\\Tools\\tool.exe"));
    const RegistryLocation switches = *switchKeyOf(UserRun, RegistryView::Shared);
    const RegistryValue off{"Tool", kRegBinary, {3, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8}};
    ASSERT_TRUE(platform.registry.writeValue(switches, off, true));
    backend->seedShortcut(userStartup + "\\Notes.lnk", linkTo(platform.system.windowsDirectory() + "\\notepad.exe"));
    ASSERT_TRUE(platform.files.writeFile(userStartup + "\\sync.bat", {'@', 'e', 'c', 'h', 'o'}));
    const std::tuple<SectionId, std::string, std::string> cases[] = {{UserRun, "Tool", "TOOL"},
                                                                     {StartupCurrentUser, "Notes", "NOTES"},
                                                                     {StartupCurrentUser, "sync.bat", "Sync.BAT"}};
    for (const auto& [leaf, from, to] : cases) {
        const StartupEntry row = findRow(platform, leaf, from).value();
        ASSERT_TRUE(editEntry(platform, prompts, row, {to, row.commandLine, leaf})) << from;
        EXPECT_TRUE(findRow(platform, leaf, to)) << to;
        EXPECT_FALSE(findRow(platform, leaf, from)) << from;
    }
    EXPECT_EQ(platform.registry.readValues(registryKeyOf(UserRun)),
              std::vector{stringValue("TOOL", "C:\\Tools\\tool.exe")});
    EXPECT_EQ(platform.registry.readValues(switches), (std::vector{RegistryValue{"TOOL", off.type, off.data}}));
    EXPECT_EQ(platform.files.listFiles(userStartup), (std::vector<std::string>{"NOTES.lnk", "Sync.BAT"}));
    EXPECT_EQ(platform.files.readFile(userStartup + "\\Sync.BAT"), (FileBytes{'@', 'e', 'c', 'h', 'o'}));
    EXPECT_TRUE(prompts.questions.empty());
}

TEST_F(OperationsTest, CreatedLinkGetsItsExtensionReadsBackWithItsFieldsAndLeavesNoTemporaryFile) {
    ShortcutFields given = linkTo(platform.system.windowsDirectory() + "\\notepad.exe", "/a \"b c\"");
    given.description = "Editor";
    given.workDir = platform.system.windowsDirectory();
    std::string link = userStartup + "\\Editor";
    ASSERT_TRUE(createShortcut(platform, prompts, link, given));
    EXPECT_EQ(link, userStartup + "\\Editor.lnk");
    EXPECT_EQ(withLinkExtension("C:\\Startup\\Editor.LNK"), "C:\\Startup\\Editor.LNK");
    EXPECT_EQ(withLinkExtension("C:\\Startup\\Editorlnk"), "C:\\Startup\\Editorlnk.lnk");
    const ShortcutFields written = platform.links.readShortcut(link).value().fields;
    EXPECT_EQ(std::tie(written.targetPath, written.arguments, written.description, written.workDir),
              std::tie(given.targetPath, given.arguments, given.description, given.workDir));
    EXPECT_EQ(platform.files.listFiles(userStartup), std::vector<std::string>{"Editor.lnk"});
    EXPECT_TRUE(prompts.questions.empty());
}

TEST_F(OperationsTest, ExistingFileIsReplacedOnlyWhenTheUserSaysYes) {
    const std::vector<std::uint8_t> old = {'o', 'l', 'd'};
    for (bool yes : {false, true}) {
        ScriptedPrompts prompts;
        prompts.answer = yes;
        std::string link = userStartup + "\\Old.lnk";
        ASSERT_TRUE(platform.files.writeFile(link, old));
        const Status made =
            createShortcut(platform, prompts, link, linkTo(platform.system.windowsDirectory() + "\\notepad.exe"));
        const Question question{"The link file: \"" + link + "\" exists. Replace it?", kAppTitle, MessageKind::Plain};
        const Status answered = yes ? Status() : Status(Error{ErrorKind::DeclinedByUser, 0, std::get<0>(question)});
        EXPECT_EQ(made, answered);
        EXPECT_EQ(prompts.questions, std::vector{question});
        EXPECT_EQ(prompts.beeps, 1);
        EXPECT_EQ(platform.files.readFile(link) == old, !yes);
        EXPECT_EQ(platform.files.listFiles(userStartup), std::vector<std::string>{"Old.lnk"});
    }
}

TEST_F(RefusingSystemTest, FailedLinkBuildKeepsTheOldLinkAndLeavesNoStrayFile) {
    const std::string folder = platform.shellFolder(ShellFolder::UserStartup);
    for (MemoryOp failing : {MemoryOp::FileWrite, MemoryOp::ShortcutWrite, MemoryOp::FileMove}) {
        std::string link = folder + "\\Tool.lnk";
        platform.putShortcut(link, linkTo("C:\\old.exe"));
        const auto before = platform.readFile(link);
        platform.failWhen = [failing](MemoryOp op) { return op == failing; };
        prompts.answer = true;
        EXPECT_FALSE(createShortcut(platform, prompts, link, linkTo("C:\\new.exe")));
        platform.failWhen = nullptr;
        EXPECT_EQ(platform.readFile(link), before);
        EXPECT_EQ(platform.listFiles(folder), std::vector<std::string>{"Tool.lnk"});
    }
}

}  // namespace
}  // namespace lsu::test
