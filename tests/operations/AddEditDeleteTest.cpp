#include <utility>

#include "operations/EntryPlaces.h"
#include "operations/FileNames.h"
#include "operations/Messages.h"
#include "operations/OperationsFixture.h"
#include "operations/ShortcutWriter.h"
#include "scanners/SectionLoading.h"

namespace lsu::test {
namespace {

using enum SectionId;

TEST_F(OperationsTest, AddTakesOnlyNamesThatStayInTheStartupFolderAndNameNoDevice) {
    for (const char* name : {"Tool", "My Tool 2.0", "Überwachung", "COM10", "COM0", "LPT0", "CONSOLE", "tool.exe", "a..b"})
        EXPECT_FALSE(fileNameProblem(name)) << name;
    for (const char* name : {"", ".", "..", "..\\..\\evil", "a/b", "C:tool", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b",
                             "tab\there", "Tool.", "Tool ", "CON", "prn", "Aux", "NUL.txt", "com1", "COM9.lnk", "lpt5.exe"}) {
        ScriptedPrompts prompts;
        EXPECT_FALSE(addEntry(platform, prompts, {name, "C:\\evil.exe", StartupCurrentUser})) << name;
        EXPECT_EQ(std::get<int>(prompts.messages.at(0)), kStyleExclamation) << name;
    }
    EXPECT_TRUE(platform.listFiles(userStartup).empty());
}

TEST_F(OperationsTest, AddWritesAStringValueAndAsksBeforeReplacingAnother) {
    ASSERT_TRUE(addEntry(platform, prompts, {"Tool", "C:\\Tools\\tool.exe /q", MachineRun}));
    EXPECT_FALSE(addEntry(platform, prompts, {"tool", "new.exe", MachineRun}));
    EXPECT_EQ(prompts.messages.at(1), (Message{"Nothing was changed.", kAppTitle, kStyleInformation}));
    EXPECT_EQ(platform.readValue(registryKeyOf(MachineRun), "Tool"), stringValue("Tool", "C:\\Tools\\tool.exe /q"));
    // Keeping the link that stands under the name means no new item.
    ASSERT_TRUE(addEntry(platform, prompts, {"Tool", "C:\\Tools\\tool.exe", StartupCurrentUser}));
    EXPECT_FALSE(addEntry(platform, prompts, {"Tool", "C:\\Tools\\other.exe", StartupCurrentUser}));
    EXPECT_EQ(prompts.messages.back(), (Message{kAddFailedPrompt, kAddFailedTitle, kStyleCritical}));
}

// Added, or moved from the registry: the link runs the program with the
// rest of the line as its arguments, and bears the entry's name.
TEST_F(OperationsTest, LinkMadeFromACommandLineSplitsProgramAndArguments) {
    const std::string program = platform.windowsDirectory() + "\\notepad.exe";
    seedRegistry(platform, UserRun, stringValue("Tool", program + " /x"));
    const StartupEntry row = findRow(platform, UserRun, "Tool").value();
    ASSERT_TRUE(addEntry(platform, prompts, {"Editor", "\"" + program + "\" /p note.txt", StartupCurrentUser}));
    ASSERT_TRUE(editEntry(platform, prompts, row, {"Tool", row.commandLine, StartupCurrentUser}));
    EXPECT_FALSE(platform.readValue(registryKeyOf(UserRun), "Tool"));
    EXPECT_EQ(platform.listFiles(userStartup), (std::vector<std::string>{"Editor.lnk", "Tool.lnk"}));
    for (const auto& [name, arguments] : {std::pair{"Editor", "/p note.txt"}, std::pair{"Tool", "/x"}}) {
        const ShortcutFields link = platform.readShortcut(userStartup + "\\" + name + ".lnk").value().fields;
        EXPECT_EQ(std::tie(link.targetPath, link.arguments, link.description), std::tie(program, arguments, name));
    }
}

TEST_F(OperationsTest, DeletingAParkedValueLeavesTheLiveOneOfTheSameName) {
    seedRegistry(platform, UserRun, stringValue("Tool", "live.exe"));
    seedRegistry(platform, UserRun, stringValue("Tool", "parked.exe"), true);
    ASSERT_TRUE(deleteEntry(platform, prompts, loadSection(platform, UserRun).rows.at(1)));
    EXPECT_FALSE(platform.readValue(registryKeyOf(UserRun, true), "Tool"));
    EXPECT_EQ(platform.readValue(registryKeyOf(UserRun), "Tool"), stringValue("Tool", "live.exe"));
}

TEST_F(OperationsTest, DeletingAnEntryNoLongerWhereItWasListedIsSilentAndTouchesNothingElse) {
    seedRegistry(platform, UserRun, stringValue("Tool", "tool.exe"));
    seedWinIni(platform, WinIniLoad, "first.exe");
    const EntryList rows = {findRow(platform, UserRun, "Tool").value(), findRow(platform, WinIniLoad, "first").value()};
    platform.deleteValue(registryKeyOf(UserRun), "Tool");
    seedWinIni(platform, WinIniLoad, "second.exe");
    for (const StartupEntry& row : rows) EXPECT_TRUE(deleteEntry(platform, prompts, row)) << row.name;
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(winIniLine(platform, WinIniLoad), "second.exe");
}

TEST_F(RefusingSystemTest, RemovalReportedAsFailedCountsAsDoneWhenTheEntryIsGone) {
    seedRegistry(platform, UserRun, stringValue("Tool", "tool.exe"));
    const StartupEntry row = findRow(platform, UserRun, "Tool").value();
    // The system removes the value and still answers with an error.
    platform.failWhen = [&, removing = false](MemoryOp op) mutable {
        if (op != MemoryOp::RegistryDelete || std::exchange(removing, true)) return false;
        platform.deleteValue(registryKeyOf(UserRun), "Tool");
        return true;
    };
    EXPECT_TRUE(deleteEntry(platform, prompts, row));
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(RefusingSystemTest, RefusedChangeSaysWhyAndChangesNothing) {
    const std::string startup = platform.specialFolder(kCsidlStartup);
    seedRegistry(platform, UserRun, stringValue("Old", "old.exe"));
    platform.putFile(startup + "\\tool.bat", {'x'});
    const StartupEntry value = findRow(platform, UserRun, "Old").value();
    const StartupEntry file = findRow(platform, StartupCurrentUser, "tool.bat").value();
    platform.makeReadOnly(Hive::LocalMachine);
    platform.makeReadOnly(startup);
    const auto refused = [&](const char* prompt, const char* title, const auto& change) {
        ScriptedPrompts told;
        EXPECT_FALSE(change(told)) << prompt;
        EXPECT_EQ(told.messages, (std::vector{Message{prompt + kAccessDeniedReason, title, kStyleCritical}}));
        EXPECT_EQ(loadSection(platform, AllPrograms).rows.size(), 2u) << prompt;
    };
    for (SectionId to : {MachineRun, StartupCurrentUser}) {
        refused(kAddFailedPrompt, kAddFailedTitle, [&](auto& p) { return addEntry(platform, p, {"Tool", "t.exe", to}); });
        // The new entry is written first, so the old one stays.
        refused(kEditFailedPrompt, kEditFailedTitle,
                [&](auto& p) { return editEntry(platform, p, value, {"New", "n.exe", to}); });
    }
    refused(kDeleteFailedPrompt, kDeleteFailedTitle, [&](auto& p) { return deleteEntry(platform, p, file); });
    // Without its Startup folder, the file's place is not known.
    platform.forgetSpecialFolder(kCsidlStartup);
    ScriptedPrompts told;
    EXPECT_FALSE(deleteEntry(platform, told, file));
    EXPECT_EQ(told.messages, (std::vector{Message{kDeleteFailedPrompt, kDeleteFailedTitle, kStyleCritical}}));
    EXPECT_EQ(platform.readValue(registryKeyOf(UserRun), "Old"), stringValue("Old", "old.exe"));
    EXPECT_TRUE(platform.fileExists(startup + "\\tool.bat"));
}

// A value renamed with its command left alone keeps its type and bytes; a
// parked value given a new command stays parked; a changed win.ini line is
// written back to its key.
TEST_F(OperationsTest, EditedEntryStaysWhereItStoodAndKeepsWhatTheFormLeavesAlone) {
    seedRegistry(platform, UserRun, stringValue("Old", "%ProgramFiles%\\t.exe", kRegExpandSz));
    seedRegistry(platform, UserRun, stringValue("Tool", "old.exe"), true);
    seedWinIni(platform, WinIniRun, "old.exe");
    const StartupEntry renamed = findRow(platform, UserRun, "Old").value(), parked = findRow(platform, UserRun, "Tool").value();
    ASSERT_TRUE(editEntry(platform, prompts, renamed, {"New", renamed.commandLine, UserRun}));
    ASSERT_TRUE(editEntry(platform, prompts, parked, {"Tool", "new.exe", UserRun}));
    ASSERT_TRUE(editEntry(platform, prompts, findRow(platform, WinIniRun, "old").value(), {"old", "new.exe /x", WinIniRun}));
    EXPECT_EQ(platform.readValues(registryKeyOf(UserRun)), std::vector{stringValue("New", "%ProgramFiles%\\t.exe", kRegExpandSz)});
    EXPECT_EQ(platform.readValues(registryKeyOf(UserRun, true)), std::vector{stringValue("Tool", "new.exe")});
    EXPECT_EQ(winIniLine(platform, WinIniRun), "new.exe /x");
}

TEST_F(OperationsTest, RenamedFileKeepsItsContentsOrLinkFieldsAndStaysInAStartupFolder) {
    ShortcutFields fields = linkTo(platform.windowsDirectory() + "\\notepad.exe", "/keep");
    fields.workDir = platform.windowsDirectory();
    backend->seedShortcut(userStartup + "\\Old.lnk", fields);
    const FileBytes bytes = {'e', 'c', 'h', 'o'};
    ASSERT_TRUE(platform.writeFile(userStartup + "\\old.bat", bytes));
    const StartupEntry script = findRow(platform, StartupCurrentUser, "old.bat").value();
    EXPECT_FALSE(editEntry(platform, prompts, script, {"new.bat", script.commandLine, UserRun}));
    EXPECT_EQ(prompts.messages, (std::vector{Message{kPlainFileStaysInFolderPrompt, kAppTitle, kStyleExclamation}}));
    for (const auto& [from, to] : {std::pair{"Old", "New"}, std::pair{"old.bat", "new.bat"}}) {
        const StartupEntry row = findRow(platform, StartupCurrentUser, from).value();
        ASSERT_TRUE(editEntry(platform, prompts, row, {to, row.commandLine, StartupCurrentUser}));
    }
    EXPECT_EQ(platform.listFiles(userStartup), (std::vector<std::string>{"new.bat", "New.lnk"}));
    EXPECT_EQ(platform.readFile(userStartup + "\\new.bat"), bytes);
    const ShortcutFields renamed = platform.readShortcut(userStartup + "\\New.lnk").value().fields;
    EXPECT_EQ(std::tie(renamed.arguments, renamed.workDir), std::tie(fields.arguments, fields.workDir));
}

// The link writer, which adds and edits use for every new link.
TEST_F(OperationsTest, TemplateIsALinkTheSystemReadsToATargetOnDriveC) {
    ASSERT_TRUE(writeLinkTemplate(platform, userStartup + "\\template.lnk"));
    const ShortcutFields link = platform.readShortcut(userStartup + "\\template.lnk").value().fields;
    EXPECT_TRUE(link.targetPath.starts_with("C:\\")) << link.targetPath;
    EXPECT_EQ(link.workDir, "C:\\");
}

TEST_F(OperationsTest, CreatedLinkGetsItsExtensionReadsBackWithItsFieldsAndLeavesNoTemporaryFile) {
    ShortcutFields given = linkTo(platform.windowsDirectory() + "\\notepad.exe", "/a \"b c\"");
    given.description = "Editor";
    given.workDir = platform.windowsDirectory();
    std::string link = userStartup + "\\Editor";
    ASSERT_EQ(createShortcut(platform, prompts, link, given).kind, Outcome::Done);
    EXPECT_EQ(link, userStartup + "\\Editor.lnk");
    EXPECT_EQ(withLinkExtension("C:\\Startup\\Editor.LNK"), "C:\\Startup\\Editor.LNK");
    EXPECT_EQ(withLinkExtension("C:\\Startup\\Editorlnk"), "C:\\Startup\\Editorlnk.lnk");
    const ShortcutFields written = platform.readShortcut(link).value().fields;
    EXPECT_EQ(std::tie(written.targetPath, written.arguments, written.description, written.workDir),
              std::tie(given.targetPath, given.arguments, given.description, given.workDir));
    EXPECT_EQ(platform.listFiles(userStartup), std::vector<std::string>{"Editor.lnk"});
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(OperationsTest, ExistingFileIsReplacedOnlyWhenTheUserSaysYes) {
    const std::vector<std::uint8_t> old = {'o', 'l', 'd'};
    for (bool yes : {false, true}) {
        ScriptedPrompts prompts;
        prompts.answer = yes;
        std::string link = userStartup + "\\Old.lnk";
        ASSERT_TRUE(platform.writeFile(link, old));
        const Outcome made = createShortcut(platform, prompts, link, linkTo(platform.windowsDirectory() + "\\notepad.exe"));
        EXPECT_EQ(made.kind, yes ? Outcome::Done : Outcome::Declined);
        const Message question{"The link file: \"" + link + "\" exists. Replace it?", kAppTitle, kStyleYesNo};
        EXPECT_EQ(prompts.messages, std::vector{question});
        EXPECT_EQ(prompts.beeps, 1);
        EXPECT_EQ(platform.readFile(link) == old, !yes);
        EXPECT_EQ(platform.listFiles(userStartup), std::vector<std::string>{"Old.lnk"});
    }
}

TEST_F(RefusingSystemTest, FailedLinkBuildKeepsTheOldLinkAndLeavesNoStrayFile) {
    const std::string folder = platform.specialFolder(kCsidlStartup);
    for (MemoryOp failing : {MemoryOp::FileWrite, MemoryOp::ShortcutWrite, MemoryOp::FileMove}) {
        std::string link = folder + "\\Tool.lnk";
        platform.putShortcut(link, linkTo("C:\\old.exe"));
        const auto before = platform.readFile(link);
        platform.failWhen = [failing](MemoryOp op) { return op == failing; };
        prompts.answer = true;
        EXPECT_EQ(createShortcut(platform, prompts, link, linkTo("C:\\new.exe")).kind, Outcome::Failed);
        platform.failWhen = nullptr;
        EXPECT_EQ(platform.readFile(link), before);
        EXPECT_EQ(platform.listFiles(folder), std::vector<std::string>{"Tool.lnk"});
    }
}

}  // namespace
}  // namespace lsu::test
