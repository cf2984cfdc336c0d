#include <gtest/gtest.h>

#include <functional>

#include "catalog/DisabledStores.h"
#include "operations/EntryPlaces.h"
#include "operations/Operations.h"
#include "platform/TemporaryNames.h"
#include "scanners/SectionLoading.h"
#include "support/Backend.h"
#include "support/FixedAnswers.h"
#include "support/Seed.h"
#include "support/SourcesSnapshot.h"

// What the entry operations do on the in-memory platform, on the real one
// and on an offline volume alike: a change acts on exactly the place asked
// for or is refused with nothing changed, and a move cut short is found and
// finished.

namespace lsu {
namespace {

using namespace test;
using enum SectionId;

using PlatformContractChanges = BackendTest;

TEST_F(PlatformContractChanges, RefusedChangesLeaveEverySourceAsItWas) {
    seedRegistry(platform, UserRun, stringValue("Tool", "C:\\tool.exe"));
    seedRegistry(platform, UserRun, stringValue("Twice", "C:\\live.exe"));
    seedRegistry(platform, UserRun, stringValue("Twice", "C:\\parked.exe"), true);
    seedWinIni(platform, WinIniLoad, "C:\\load.exe");
    const StartupEntry tool = findRow(platform, UserRun, "Tool").value();
    const std::string tooLong(kLongestValueName + 1, 'n');
    AnswerNo prompts;
    const std::tuple<const char*, std::function<ChangeResult()>, ErrorKind> cases[] = {
        {"a value name longer than the registry takes",
         [&] {
             return addEntry(platform, prompts, {tooLong, "C:\\new.exe", UserRun});
         },
         ErrorKind::InvalidInput},
        {"a rename to such a name",
         [&] {
             return editEntry(platform, prompts, tool, {tooLong, tool.commandLine, UserRun});
         },
         ErrorKind::InvalidInput},
        {"a win.ini line holding line breaks",
         [&] {
             return editEntry(platform, prompts, tool, {"Tool", "C:\\a.exe\r\n[boot]\r\nshell=evil.exe", WinIniRun});
         },
         ErrorKind::InvalidInput},
        {"a win.ini line beginning with \"[\"",
         [&] {
             return editEntry(platform, prompts, tool, {"Tool", " [boot]", WinIniRun});
         },
         ErrorKind::InvalidInput},
        {"parking over another entry, answered No",
         [&] {
             StartupEntry live = findRow(platform, UserRun, "Twice").value();
             live.checked = false;
             return applyCheckState(platform, prompts, live);
         },
         ErrorKind::DeclinedByUser},
    };
    for (const auto& [what, change, kind] : cases) {
        const SourcesSnapshot before = snapshotOfSources(platform);
        const ChangeResult refused = change();
        ASSERT_FALSE(refused) << what;
        EXPECT_EQ(refused.error().kind, kind) << what;
        EXPECT_EQ(changesBetween(before, snapshotOfSources(platform)), "") << what;
    }
}

// The place of the one entry of a test, where Windows reads it or parked.
EntryPlace placeOf(const ScanPorts& platform, SectionId leaf, bool parked) {
    if (sourceAs<RegistrySource>(leaf)) return RegistryPlace{registryKeyOf(leaf, parked), "Tool"};
    if (sourceAs<WinIniSource>(leaf))
        return ProfilePlace{winIniPath(platform.system), parked ? "SM_Disabled" : "Windows", "Run"};
    return FilePlace{startupFolder(platform, leaf, parked) + "\\Tool.bat"};
}

EntryContent contentOf(SectionId leaf) {
    if (sourceAs<RegistrySource>(leaf)) return stringValue("Tool", "C:\\Tools\\tool.exe /tray");
    if (sourceAs<WinIniSource>(leaf)) return ProfileLine{"C:\\Tools\\tool.exe /tray"};
    return FileBytes{'@', 'e', 'c', 'h', 'o', ' ', 'o', 'f', 'f'};
}

std::optional<EntryContent> standing(const ScanPorts& platform, const EntryPlace& place) {
    const EntryRead read = readEntry(platform, place);
    return read ? *read : std::nullopt;
}

// A move writes its target before it removes its source; one cut short in
// between (killed, or a rollback that failed) leaves the same entry in both
// places. Both rows are listed and say so; enabling the parked one or
// disabling the live one finishes the move, asking nothing.
TEST(PlatformContractMoveCutShort, IsListedTwiceAndFinishedEitherWay) {
    for (SectionId leaf : {UserRun, WinIniRun, StartupCurrentUser})
        for (bool enabling : {true, false}) {
            SCOPED_TRACE(std::string(section(leaf).key) + (enabling ? ", enabling" : ", disabling"));
            auto backend = makeCleanBackend();
            const ScanPorts& platform = backend->ports();
            for (bool parked : {false, true})
                ASSERT_TRUE(writeEntry(platform, placeOf(platform, leaf, parked), contentOf(leaf)));
            EntryList rows = loadSection(platform, leaf).rows;
            ASSERT_EQ(rows.size(), 2u);
            for (const StartupEntry& row : rows) {
                EXPECT_TRUE(row.hasTwin);
                EXPECT_NE(stateReason(row), nullptr);
            }
            StartupEntry& moved = rows[enabling ? 1 : 0];
            moved.checked = enabling;
            AnswerNo prompts;
            ASSERT_TRUE(applyCheckState(platform, prompts, moved));
            const EntryList after = loadSection(platform, leaf).rows;
            ASSERT_EQ(after.size(), 1u);
            EXPECT_EQ(after[0].enabled, enabling);
            EXPECT_FALSE(after[0].hasTwin);
            EXPECT_EQ(standing(platform, placeOf(platform, leaf, !enabling)), contentOf(leaf));
        }
}

TEST_F(PlatformContractChanges, EntriesOfOneNameThatDifferAreNoMoveCutShort) {
    seedRegistry(platform, UserRun, stringValue("Tool", "C:\\live.exe"));
    seedRegistry(platform, UserRun, stringValue("Tool", "C:\\parked.exe"), true);
    for (const StartupEntry& row : loadSection(platform, UserRun).rows) EXPECT_FALSE(row.hasTwin);
}

// A section of win.ini reads a value without the spaces around it and
// without the quotes that enclose it; such lines are kept as they read, in
// the section Windows reads and in the disabled one alike.
TEST_F(PlatformContractChanges, WinIniLinesInQuotesOrBetweenSpacesMoveAsTheyRead) {
    const ProfilePlace live{winIniPath(platform.system), "Windows", "Load"};
    for (const std::string& line :
         {std::string("\"C:\\Program Files\\Tool\\tool.exe\""), std::string("  C:\\padded.exe  "),
          std::string("'C:\\single.exe'"), std::string("\t\"C:\\a b\\x.exe\" /q")}) {
        ASSERT_TRUE(writeEntry(platform, live, ProfileLine{line})) << line;
        StartupEntry row = loadSection(platform, WinIniLoad).rows.at(0);
        EXPECT_EQ(row.commandLine, line);
        AnswerNo prompts;
        for (bool enabling : {false, true}) {
            row.checked = enabling;
            ASSERT_TRUE(applyCheckState(platform, prompts, row)) << line;
            EXPECT_EQ(winIniLine(platform, WinIniLoad, !enabling), line);
        }
    }
}

// A link is built under a temporary name; what a run stopped before it put
// the link in place left is not listed, and the next link placed in that
// folder clears it away.
TEST_F(PlatformContractChanges, ALinkLeftUnfinishedIsNeitherListedNorKept) {
    const std::string folder = startupFolder(platform, StartupCurrentUser);
    const std::string unfinished = folder + "\\" + temporaryNameFor("Tool.lnk");
    ASSERT_TRUE(platform.files.writeFile(unfinished, {'L', 0, 0, 0}));
    EXPECT_TRUE(platform.files.listFiles(folder).empty());
    ShortcutFields fields;
    fields.targetPath = platform.system.windowsDirectory() + "\\notepad.exe";
    ASSERT_TRUE(platform.links.writeShortcut(folder + "\\Tool.lnk", fields, false));
    EXPECT_EQ(platform.files.listFiles(folder), std::vector<std::string>{"Tool.lnk"});
    EXPECT_FALSE(platform.files.fileExists(unfinished));
}

}  // namespace
}  // namespace lsu
