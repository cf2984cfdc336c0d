#include <gtest/gtest.h>

#include <functional>

#include "base/WindowsPaths.h"
#include "catalog/DisabledStores.h"
#include "catalog/StartupSwitches.h"
#include "operations/Operations.h"
#include "operations/journal/Undo.h"
#include "scanners/SectionLoading.h"
#include "support/Backend.h"
#include "support/FixedAnswers.h"
#include "support/Seed.h"
#include "support/SourcesSnapshot.h"

// The journal of changes on the in-memory platform, on the real one and on
// an offline volume alike: every change is recorded before it is made, and
// its undo gives every place it touched exactly what stood there before.

namespace lsu {
namespace {

using namespace test;
using enum SectionId;

using Change = std::function<ChangeResult(const SourcePorts&)>;

class JournalContract : public BackendTest {
protected:
    ChangeJournal journal{platform.files, platform.system, "test", [] { return std::string("2026-12-08T23:59:00Z"); }};
    AnswerYes prompts;

    ChangeResult recorded(ChangeAction action, SectionId leaf, const std::string& name, const Change& change) {
        return recordChange(journal, platform, {action, std::string(section(leaf).key), name, std::nullopt}, change);
    }
    // The row of that name; the section's only row for a win.ini line.
    StartupEntry rowOf(SectionId leaf, const std::string& name) {
        if (sourceAs<WinIniSource>(leaf)) return loadSection(platform, leaf).rows.at(0);
        return findRow(platform, leaf, name).value();
    }
    ChangeResult click(SectionId leaf, const std::string& name, bool checked) {
        StartupEntry row = rowOf(leaf, name);
        row.checked = checked;
        return recorded(checked ? ChangeAction::Enable : ChangeAction::Disable, leaf, name,
                        [&](const SourcePorts& ports) { return applyCheckState(ports, prompts, row); });
    }
    ChangeResult remove(SectionId leaf, const std::string& name) {
        const StartupEntry row = rowOf(leaf, name);
        return recorded(ChangeAction::Delete, leaf, name,
                        [&](const SourcePorts& ports) { return deleteEntry(ports, row); });
    }
    ChangeResult add(const EntryForm& form) {
        return recorded(ChangeAction::Add, *form.section, form.name,
                        [&](const SourcePorts& ports) { return addEntry(ports, prompts, form); });
    }
    ChangeResult edit(SectionId leaf, const std::string& name, const EntryForm& form) {
        const StartupEntry row = findRow(platform, leaf, name).value();
        return recorded(ChangeAction::Edit, leaf, name,
                        [&](const SourcePorts& ports) { return editEntry(ports, prompts, row, form); });
    }
    std::string userStartup() { return startupFolder(platform, StartupCurrentUser); }
    bool separateViews() {
        return !platform.registry.viewsShareKey(Hive::LocalMachine,
                                                "Software\\Microsoft\\Windows\\CurrentVersion\\Run");
    }
};

// A link with every field a person can set.
ShortcutFields fullLink() {
    ShortcutFields fields;
    fields.targetPath = "C:\\Tools\\notes.exe";
    fields.arguments = "/tray --quiet";
    fields.description = "Notes at start-up";
    fields.hotKey = 0x0641;
    fields.showCmd = 7;
    fields.workDir = "C:\\Tools";
    fields.iconFile = "C:\\Tools\\notes.ico";
    fields.iconIndex = 2;
    return fields;
}

RegistryValue switchedOff(const std::string& name) {
    return {name, kRegBinary, {3, 0, 0, 0, 0x10, 0x32, 0x54, 0x76, 0x98, 0xBA, 0xDC, 0x01}};
}

ServiceConfig autoService(const std::string& name) {
    ServiceConfig service;
    service.name = name;
    service.displayName = name;
    service.startType = kServiceAutoStart;
    service.delayed = true;
    service.imagePath = "C:\\Program Files\\LsuTest\\" + name + ".exe";
    return service;
}

TEST_F(JournalContract, ChangeThenUndoLeavesEveryTouchedPlaceAsItWas) {
    struct Case {
        const char* what;
        std::function<void()> seed;
        std::function<ChangeResult()> change;
    };
    std::vector<Case> cases = {
        {"a Run value of odd bytes and its own type, disabled",
         [&] {
             seedRegistry(platform, UserRun, {"Odd", kRegExpandSz, {'%', 0, 'A', 0, '%', 0, 7}});
         },
         [&] { return click(UserRun, "Odd", false); }},
        {"a Run value deleted", [&] { seedRegistry(platform, UserRun, stringValue("Gone", "C:\\gone.exe")); },
         [&] { return remove(UserRun, "Gone"); }},
        {"a Run value added to a key made for it", [] {},
         [&] {
             return add({"Added", "C:\\added.exe /a", MachineRunOnce});
         }},
        {"a Run value renamed", [&] { seedRegistry(platform, UserRun, stringValue("Old", "C:\\old.exe")); },
         [&] {
             return edit(UserRun, "Old", {"Renamed", "C:\\old.exe -x", UserRun});
         }},
        {"a link with every field, disabled", [&] { backend->seedShortcut(userStartup() + "\\Notes.lnk", fullLink()); },
         [&] { return click(StartupCurrentUser, "Notes", false); }},
        {"a link deleted", [&] { backend->seedShortcut(userStartup() + "\\Kept.lnk", fullLink()); },
         [&] { return remove(StartupCurrentUser, "Kept"); }},
        {"a plain file deleted",
         [&] {
             expectDone(platform.files.writeFile(userStartup() + "\\Script.bat", {'@', 0, 0xFF, '\r'}), "seeding");
         },
         [&] { return remove(StartupCurrentUser, "Script.bat"); }},
        {"a link added", [] {},
         [&] {
             return add({"Made", "C:\\Tools\\made.exe /m", StartupCurrentUser});
         }},
        {"a win.ini line disabled", [&] { seedWinIni(platform, WinIniLoad, "C:\\load.exe"); },
         [&] { return click(WinIniLoad, "C:\\load.exe", false); }},
        {"a win.ini line deleted", [&] { seedWinIni(platform, WinIniRun, "C:\\run.exe /r"); },
         [&] { return remove(WinIniRun, "C:\\run.exe /r"); }},
        {"Windows' switch turned on",
         [&] {
             seedRegistry(platform, UserRun, stringValue("Tray", "C:\\tray.exe"));
             expectDone(
                 platform.registry.writeValue(*switchKeyOf(UserRun, RegistryView::Shared), switchedOff("Tray"), true),
                 "seeding a switch");
         },
         [&] { return click(UserRun, "Tray", true); }},
        {"a service switched off", [&] { backend->seedService(autoService("LsuTestJournal")); },
         [&] { return click(ServicesDelayed, "LsuTestJournal", false); }},
    };
    if (separateViews())
        cases.push_back({"a parked value of the 32-bit view, enabled",
                         [&] {
                             seedRegistry(platform, MachineRun, stringValue("Legacy", "C:\\legacy.exe"), true,
                                          RegistryView::Bits32);
                         },
                         [&] { return click(MachineRun, "Legacy", true); }});
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        test.seed();
        const SourcesSnapshot before = snapshotOfSources(platform);
        const ChangeResult changed = test.change();
        ASSERT_TRUE(changed) << changed.error().message;
        ASSERT_NE(changesBetween(before, snapshotOfSources(platform)), "");
        const ChangeResult undone = undoChange(journal, platform, std::nullopt);
        ASSERT_TRUE(undone) << undone.error().message;
        EXPECT_EQ(changesBetween(before, snapshotOfSources(platform)), "");
    }
}

// The first change recorded makes the journal's folder, which the folders for
// parked items share: the undo leaves it to the journal.
TEST_F(JournalContract, UndoOfAnUndoMakesTheChangeAgain) {
    backend->seedShortcut(userStartup() + "\\Notes.lnk", fullLink());
    const SourcesSnapshot before = snapshotOfSources(platform);
    ASSERT_TRUE(click(StartupCurrentUser, "Notes", false));
    const SourcesSnapshot changed = snapshotOfSources(platform);
    ASSERT_TRUE(undoChange(journal, platform, std::nullopt));
    ASSERT_EQ(changesBetween(before, snapshotOfSources(platform)), "");
    ASSERT_TRUE(undoChange(journal, platform, std::nullopt));
    EXPECT_EQ(changesBetween(changed, snapshotOfSources(platform)), "");
}

TEST_F(JournalContract, UndoAfterALaterChangeToTheSamePlaceIsRefused) {
    seedRegistry(platform, UserRun, stringValue("Tool", "C:\\tool.exe"));
    ASSERT_TRUE(click(UserRun, "Tool", false));
    const auto first = journal.read()->back().header.id;
    seedRegistry(platform, UserRun, stringValue("Tool", "C:\\newer.exe"), true);
    const SourcesSnapshot later = snapshotOfSources(platform);
    const ChangeResult undone = undoChange(journal, platform, first);
    ASSERT_FALSE(undone);
    EXPECT_EQ(undone.error().kind, ErrorKind::ChangedSince);
    EXPECT_EQ(changesBetween(later, snapshotOfSources(platform)), "");
}

TEST_F(JournalContract, AChangeTheJournalCannotTakeIsNotMade) {
    seedRegistry(platform, UserRun, stringValue("Tool", "C:\\tool.exe"));
    // A folder where the journal's file belongs: nothing can be written there.
    const std::string folder(parentFolderOf(journal.path()));
    ASSERT_TRUE(platform.files.ensureFolder(folder));
    ASSERT_TRUE(platform.files.ensureFolder(journal.path()));
    const SourcesSnapshot before = snapshotOfSources(platform);
    const ChangeResult refused = click(UserRun, "Tool", false);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().kind, ErrorKind::NotJournaled);
    EXPECT_EQ(changesBetween(before, snapshotOfSources(platform)), "");
    EXPECT_TRUE(platform.files.removeFolder(journal.path()));
}

// A file the journal could not keep whole could not come back: the change is
// refused before anything is written, so the user knows before, not after.
TEST_F(JournalContract, AChangeOfMoreFileBytesThanTheJournalKeepsIsRefusedFirst) {
    const std::string path = userStartup() + "\\Large.bat";
    ASSERT_TRUE(platform.files.writeFile(path, Bytes(kKeptFileBytesPerChange + 1, 'x')));
    const SourcesSnapshot before = snapshotOfSources(platform);
    for (bool parking : {true, false}) {
        const ChangeResult refused =
            parking ? click(StartupCurrentUser, "Large.bat", false) : remove(StartupCurrentUser, "Large.bat");
        ASSERT_FALSE(refused) << parking;
        EXPECT_EQ(refused.error().kind, ErrorKind::NotJournaled) << parking << refused.error().message;
        EXPECT_EQ(changesBetween(before, snapshotOfSources(platform)), "") << parking;
    }
}

TEST_F(JournalContract, AJournalCutOffInARecordIsReadUpToTheLastWholeRecord) {
    for (const char* name : {"One", "Two"}) seedRegistry(platform, UserRun, stringValue(name, "C:\\tool.exe"));
    ASSERT_TRUE(click(UserRun, "One", false));
    ASSERT_TRUE(click(UserRun, "Two", false));
    const Bytes whole = platform.files.readFile(journal.path()).value();
    const std::string text(whole.begin(), whole.end());
    // Cut in the middle of the second change's last line: its end is lost.
    const std::size_t lastLine = text.rfind('\n', text.size() - 2) + 1;
    ASSERT_TRUE(platform.files.writeFile(journal.path(), Bytes(whole.begin(), whole.begin() + lastLine + 20)));
    const auto changes = journal.read().value();
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_TRUE(changes[0].end.has_value());
    EXPECT_FALSE(changes[1].end.has_value());
    const ChangeResult undone = undoChange(journal, platform, std::nullopt);
    ASSERT_FALSE(undone);
    EXPECT_EQ(undone.error().kind, ErrorKind::NotOffered);
}

TEST_F(JournalContract, RecordsWhenWhichToolAndWhatOfWhichEntry) {
    seedRegistry(platform, UserRun, stringValue("Tool", "C:\\tool.exe"));
    ASSERT_TRUE(click(UserRun, "Tool", false));
    ASSERT_TRUE(undoChange(journal, platform, std::nullopt));
    const auto changes = journal.read().value();
    ASSERT_EQ(changes.size(), 2u);
    const ChangeHeader& change = changes[0].header;
    EXPECT_EQ(change.time, "2026-12-08T23:59:00Z");
    EXPECT_EQ(change.tool, "test");
    EXPECT_EQ(change.action, ChangeAction::Disable);
    EXPECT_EQ(change.section, "Registry\\Current User\\Run");
    EXPECT_EQ(change.entry, "Tool");
    EXPECT_EQ(changes[1].header.action, ChangeAction::Undo);
    EXPECT_EQ(changes[1].header.undoes, change.id);
    EXPECT_TRUE(changes[0].end->done);
}

}  // namespace
}  // namespace lsu
