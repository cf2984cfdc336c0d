#include <utility>

#include "catalog/DisabledStores.h"
#include "operations/EntryPlaces.h"
#include "operations/OperationsFixture.h"
#include "operations/Questions.h"
#include "scanners/SectionLoading.h"
#include "ui/logic/LanguageTable.h"

namespace lsu::test {
namespace {

using enum SectionId;

// The one entry of a test in a leaf of each kind, where Windows reads it or
// in its disabled store, and what it stores for a command text.
EntryPlace placeOf(const ScanPorts& platform, SectionId leaf, bool disabled) {
    if (sourceAs<RegistrySource>(leaf)) return RegistryPlace{registryKeyOf(leaf, disabled), "Tool"};
    if (sourceAs<WinIniSource>(leaf))
        return ProfilePlace{winIniPath(platform.system), disabled ? "SM_Disabled" : "Windows", "Run"};
    return FilePlace{startupFolder(platform, leaf, disabled) + "\\tool.bat"};
}

EntryContent contentOf(SectionId leaf, const std::string& text) {
    if (sourceAs<RegistrySource>(leaf)) return stringValue("Tool", text);
    if (sourceAs<WinIniSource>(leaf)) return ProfileLine{text};
    return FileBytes(text.begin(), text.end());
}

std::string replaceQuestion(const ScanPorts& platform, SectionId leaf) {
    const EntryPlace parked = placeOf(platform, leaf, true);
    std::string what =
        "The registry value: \"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run-\\Tool";
    if (auto* file = std::get_if<FilePlace>(&parked)) what = "The file: \"" + file->path;
    if (std::holds_alternative<ProfilePlace>(parked))
        what = "The win.ini line: \"[SM_Disabled] Run= in " + winIniPath(platform.system);
    return what + "\" exists. Replace it?";
}

TEST_F(OperationsTest, DisableAndEnableAgainKeepTheStoredValueByteForByte) {
    std::vector<std::tuple<SectionId, RegistryView, RegistryValue>> cases = {
        {UserRun, RegistryView::Shared, stringValue("Expanding", "%SystemRoot%\\system32\\tool.exe", kRegExpandSz)},
        {MachineRun, RegistryView::Bits64, dwordValue("Number", 0x01020304)},
        {UserRunOnce, RegistryView::Shared, stringValue("", "C:\\Tools\\default.exe")},
        {UserRun, RegistryView::Shared, stringValue("  Spaced Tool  ", "C:\\Tools\\tool.exe")},
        {UserRun, RegistryView::Shared, stringValue("Überwachung 監視", "C:\\Programme\\監視.exe")}};
    // Where the system keeps one view of the machine's keys, there is no 32-bit view to return to.
    if (!platform.registry.viewsShareKey(Hive::LocalMachine, registryKeyOf(MachineRun).subkey))
        cases.emplace_back(MachineRun, RegistryView::Bits32, stringValue("Legacy", "C:\\Old\\legacy.exe"));
    for (const auto& [leaf, view, value] : cases) {
        SCOPED_TRACE("\"" + value.name + "\" in " + std::string(section(leaf).key));
        // Changed since it was listed: what moves is what is stored now.
        seedRegistry(platform, leaf, stringValue(value.name, "C:\\listed.exe"), false, view);
        StartupEntry row = findRow(platform, leaf, value.name).value();
        seedRegistry(platform, leaf, value, false, view);
        for (bool disabled : {true, false}) {
            ASSERT_TRUE(clickBox(platform, prompts, row));
            EXPECT_EQ(platform.registry.readValue(registryKeyOf(leaf, disabled, view), value.name), value);
            EXPECT_FALSE(platform.registry.readValue(registryKeyOf(leaf, !disabled, view), value.name));
        }
        // A box that already shows where the entry stands moves nothing.
        ASSERT_TRUE(applyCheckState(platform, prompts, row));
        EXPECT_EQ(platform.registry.readValue(registryKeyOf(leaf, false, view), value.name), value);
        if (view != RegistryView::Bits32) continue;
        for (bool disabled : {false, true})
            EXPECT_FALSE(platform.registry.readValue(registryKeyOf(leaf, disabled), value.name));
    }
    EXPECT_TRUE(prompts.questions.empty());
}

// A win.ini line naming two programs moves whole, as every other entry does.
const std::string kLive = "C:\\a.exe, C:\\live.exe /x";

TEST(ParkingOverAnotherEntry, AsksOnlyWhenTheyDifferAndChangesNothingOnNo) {
    for (SectionId leaf : {UserRun, WinIniRun, StartupAllUsers})
        for (const auto& [parked, answer, moves] :
             {std::tuple{std::string("C:\\parked.exe"), false, false},
              std::tuple{std::string("C:\\parked.exe"), true, true}, std::tuple{kLive, false, true}}) {
            SCOPED_TRACE(std::string(section(leaf).key) + " over " + parked);
            auto backend = makeCleanBackend();
            const ScanPorts& platform = backend->ports();
            ScriptedPrompts prompts;
            prompts.answer = answer;
            ASSERT_TRUE(writeEntry(platform, placeOf(platform, leaf, false), contentOf(leaf, kLive)));
            ASSERT_TRUE(writeEntry(platform, placeOf(platform, leaf, true), contentOf(leaf, parked)));
            StartupEntry row = loadSection(platform, leaf).rows.at(0);
            const Click click = clickBox(platform, prompts, row);
            EXPECT_EQ(static_cast<bool>(click), moves);
            EXPECT_EQ(row.checked, !moves);
            std::vector<Question> asked;
            if (parked != kLive) asked.emplace_back(replaceQuestion(platform, leaf), kAppTitle, MessageKind::Plain);
            EXPECT_EQ(prompts.questions, asked);
            const auto told =
                moves ? std::nullopt
                      : std::optional(UserMessage{"Nothing was changed.", kAppTitle, MessageKind::Information});
            EXPECT_EQ(click.shown, told);
            EXPECT_EQ(prompts.beeps, parked != kLive ? 1 : 0);
            const auto live = standing(platform, placeOf(platform, leaf, false));
            EXPECT_EQ(live, moves ? std::nullopt : std::optional(contentOf(leaf, kLive)));
            EXPECT_EQ(standing(platform, placeOf(platform, leaf, true)), contentOf(leaf, moves ? kLive : parked));
        }
}

void refuseWrites(MemoryPlatform& platform) {
    platform.failWhen = [](MemoryOp op) { return op == MemoryOp::RegistryWrite || op == MemoryOp::ProfileWrite; };
}
void refuseFirstRemoval(MemoryPlatform& platform) {
    platform.failWhen = [deletes = 0](MemoryOp op) mutable { return op == MemoryOp::RegistryDelete && ++deletes == 1; };
}
void forgetStartupFolder(MemoryPlatform& platform) { platform.forgetShellFolder(ShellFolder::UserStartup); }

TEST(FailedMove, KeepsTheEntryWhereItWasPutsTheBoxBackAndSaysWhy) {
    const std::string deviceError =
        "\r\n\r\nThe request could not be performed because of an I/O device error. (error 1117)";
    const std::string readBack = "\r\n\r\nWhat was written did not read back the same.";
    for (const auto& [leaf, parked, refuse, prompt, title, reason] :
         {std::tuple{UserRun, false, &refuseWrites, kTextDisableFailedPrompt, kTextDisableFailedTitle, deviceError},
          std::tuple{UserRun, true, &refuseWrites, kTextEnableFailedPrompt, kTextEnableFailedTitle, deviceError},
          std::tuple{WinIniRun, false, &refuseWrites, kTextDisableFailedPrompt, kTextDisableFailedTitle, deviceError},
          std::tuple{WinIniRun, true, &refuseWrites, kTextWinIniEnableFailedPrompt, kTextWinIniEnableFailedTitle,
                     deviceError},
          // The source stays; the copy already written is taken back.
          std::tuple{UserRun, false, &refuseFirstRemoval, kTextDisableFailedPrompt, kTextDisableFailedTitle,
                     deviceError},
          std::tuple{UserRun, false, &refuseReadBack, kTextDisableFailedPrompt, kTextDisableFailedTitle, readBack},
          std::tuple{StartupCurrentUser, false, &forgetStartupFolder, kTextDisableFailedPrompt, kTextDisableFailedTitle,
                     kNoStartupFolderReason},
          std::tuple{StartupCurrentUser, true, &forgetStartupFolder, kTextEnableFailedPrompt, kTextEnableFailedTitle,
                     kNoStartupFolderReason}}) {
        SCOPED_TRACE(std::string(section(leaf).key) + (parked ? ", parked" : ""));
        MemoryPlatform platform;
        ScriptedPrompts prompts;
        const EntryPlace from = placeOf(platform, leaf, parked), to = placeOf(platform, leaf, !parked);
        ASSERT_TRUE(writeEntry(platform, from, contentOf(leaf, "C:\\tool.exe")));
        StartupEntry row = loadSection(platform, leaf).rows.at(0);
        refuse(platform);
        const Click click = clickBox(platform, prompts, row);
        platform.failWhen = nullptr;
        EXPECT_FALSE(click);
        EXPECT_EQ(std::pair(row.checked, row.enabled), std::pair(!parked, !parked));
        EXPECT_EQ(click.shown,
                  (UserMessage{languageText(prompt) + reason, languageText(title), MessageKind::Critical}));
        EXPECT_EQ(standing(platform, from), contentOf(leaf, "C:\\tool.exe"));
        EXPECT_FALSE(standing(platform, to));
    }
}

// "No" in the section Windows reads holds no entry: a line enabled over it replaces it unasked.
TEST_F(OperationsTest, EnablingAWinIniLineOverANoAsksNothing) {
    seedWinIni(platform, WinIniLoad, "No");
    seedWinIni(platform, WinIniLoad, "C:\\parked.exe", true);
    StartupEntry row = findRow(platform, WinIniLoad, "parked").value();
    ASSERT_TRUE(clickBox(platform, prompts, row));
    EXPECT_TRUE(prompts.questions.empty());
    EXPECT_EQ(winIniLine(platform, WinIniLoad), "C:\\parked.exe");
}

TEST_F(RefusingSystemTest, FolderMoveCopiesTheFileWhenTheRenameIsRefused) {
    const EntryPlace live = placeOf(platform, StartupCurrentUser, false),
                     parked = placeOf(platform, StartupCurrentUser, true);
    ASSERT_TRUE(writeEntry(platform, live, contentOf(StartupCurrentUser, "xy")));
    StartupEntry row = findRow(platform, StartupCurrentUser, "tool.bat").value();
    platform.failWhen = [](MemoryOp op) { return op == MemoryOp::FileMove; };
    ASSERT_TRUE(clickBox(platform, prompts, row));
    EXPECT_FALSE(standing(platform, live));
    EXPECT_EQ(standing(platform, parked), contentOf(StartupCurrentUser, "xy"));
}

// The source stays, and the copy already written cannot be taken back: the
// user learns that the entry may stand in both places, never that it stays
// where it was.
TEST_F(RefusingSystemTest, AMoveThatCanNeitherFinishNorBeTakenBackSaysTheEntryMayStandTwice) {
    const RegistryValue value = stringValue("Tool", "C:\\tool.exe");
    seedRegistry(platform, UserRun, value);
    StartupEntry row = findRow(platform, UserRun, "Tool").value();
    platform.failWhen = [](MemoryOp op) { return op == MemoryOp::RegistryDelete; };
    const Click click = clickBox(platform, prompts, row);
    platform.failWhen = nullptr;
    ASSERT_FALSE(click);
    EXPECT_EQ(click.result.error().kind, ErrorKind::PartlyDone);
    ASSERT_TRUE(click.shown);
    EXPECT_TRUE(click.shown->text.starts_with(kPartlyDonePrompt)) << click.shown->text;
    EXPECT_NE(click.shown->text.find("Run-\\Tool"), std::string::npos) << click.shown->text;
    EXPECT_EQ(platform.readValue(registryKeyOf(UserRun), "Tool"), value);
    EXPECT_EQ(platform.readValue(registryKeyOf(UserRun, true), "Tool"), value);
}

// Taking back the copy of an entry whose removal the system reports as
// failed after all, though it removed it, would lose the entry.
TEST_F(RefusingSystemTest, AMoveWhoseRemovalFailsAfterRemovingKeepsTheEntryAtItsNewPlace) {
    const RegistryValue value = stringValue("Tool", "C:\\tool.exe");
    seedRegistry(platform, UserRun, value);
    StartupEntry row = findRow(platform, UserRun, "Tool").value();
    platform.failWhen = [&, removing = false](MemoryOp op) mutable {
        if (op != MemoryOp::RegistryDelete || std::exchange(removing, true)) return false;
        expectDone(platform.deleteValue(registryKeyOf(UserRun), "Tool"), "removing Tool");
        return true;
    };
    EXPECT_TRUE(clickBox(platform, prompts, row));
    platform.failWhen = nullptr;
    EXPECT_FALSE(platform.readValue(registryKeyOf(UserRun), "Tool"));
    EXPECT_EQ(platform.readValue(registryKeyOf(UserRun, true), "Tool"), value);
}

// Parking a file makes the program's folders for parked items; when they
// cannot be made, the file stays and the user learns why.
TEST_F(RefusingSystemTest, ParkingAFileWhereNoFolderForParkedItemsCanBeMadeSaysWhy) {
    const std::pair<ShellFolder, std::string> cases[] = {
        {ShellFolder::UserStartup, platform.shellFolder(ShellFolder::LocalAppData)},
        {ShellFolder::CommonStartup, platform.programFolder()},
    };
    for (const auto& [folder, unwritable] : cases) {
        MemoryPlatform refusing;
        ScriptedPrompts answers;
        const std::string startup = refusing.shellFolder(folder);
        refusing.putFile(startup + "\\tool.bat", {'x'});
        const SectionId leaf = folder == ShellFolder::UserStartup ? StartupCurrentUser : StartupAllUsers;
        StartupEntry row = findRow(refusing, leaf, "tool.bat").value();
        refusing.makeReadOnly(unwritable);
        const Click click = clickBox(refusing, answers, row);
        EXPECT_EQ(click.shown,
                  needsAdministrator(languageText(kTextDisableFailedPrompt), languageText(kTextDisableFailedTitle)))
            << unwritable;
        EXPECT_TRUE(refusing.fileExists(startup + "\\tool.bat")) << unwritable;
    }
}

}  // namespace
}  // namespace lsu::test
