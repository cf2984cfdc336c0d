#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "catalog/DisabledStores.h"
#include "operations/Operations.h"
#include "support/Backend.h"
#include "support/FixedAnswers.h"
#include "support/Scratch.h"
#include "support/Seed.h"

// What the core relies on from the system, on the in-memory platform and on
// the real one alike.

namespace lsu {
namespace {

using namespace test;
using Bytes = std::vector<std::uint8_t>;
using Values = std::vector<RegistryValue>;

const std::string kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const RegistryLocation kUserRun{Hive::CurrentUser, RegistryView::Shared, kRunKey};
const RegistryLocation kMissing{Hive::CurrentUser, RegistryView::Shared, "Software\\LStartUp Contract\\Missing"};

using PlatformContractRegistry = BackendTest;

TEST_F(PlatformContractRegistry, ValuesReadBackExactlyAsWritten) {
    const std::string greek = "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC";
    const std::string cjk = "\xE4\xB8\xAD\xE6\x96\x87", emoji = "\xF0\x9F\x98\x80";
    const std::vector<RegistryValue> values = {
        stringValue("  padded name  ", "pad.exe"),
        stringValue(std::string(300, 'n'), "long-name.exe"),
        stringValue("long data", "C:\\Tools\\" + std::string(1500, 'd') + ".exe"),
        stringValue("expand", "%SystemRoot%\\tool.exe", kRegExpandSz),
        {"number", kRegDword, {0x78, 0x56, 0x34, 0x12}},
        {"binary", kRegBinary, {0x00, 0xFF, 0x00, 0x7F, 0x80}},
        {"no bytes", kRegBinary, {}},
        stringValue("multi", std::string("first.exe\0second.exe", 20), kRegMultiSz),
        stringValue("", "default.exe"),
        stringValue(greek + " " + cjk + " " + emoji, "C:\\" + cjk + "\\" + greek + emoji + ".exe"),
    };
    for (const auto& value : values) ASSERT_TRUE(platform.registry.writeValue(kUserRun, value, true)) << value.name;
    const auto listed = platform.registry.readValues(kUserRun).value_or(Values{});
    EXPECT_EQ(listed.size(), values.size());
    for (const auto& value : values) {
        EXPECT_EQ(platform.registry.readValue(kUserRun, value.name), value) << value.name;
        EXPECT_EQ(std::count(listed.begin(), listed.end(), value), 1) << value.name;
    }
    EXPECT_FALSE(platform.registry.readValue(kUserRun, "padded name"));
}

TEST_F(PlatformContractRegistry, MissingKeyIsNotAnEmptyKey) {
    EXPECT_FALSE(platform.registry.readValue(kMissing, "anything"));
    EXPECT_FALSE(platform.registry.writeValue(kMissing, stringValue("a", "b"), false));
    EXPECT_FALSE(platform.registry.readValues(kMissing));
}

// Value names compare without case; a value read by name is given under the
// name asked for.
TEST_F(PlatformContractRegistry, WritingReplacesAValueOfTheSameNameInAnyCase) {
    ASSERT_TRUE(platform.registry.writeValue(kUserRun, stringValue("Tool", "old.exe"), true));
    ASSERT_TRUE(platform.registry.writeValue(kUserRun, dwordValue("TOOL", 7), false));
    EXPECT_EQ(platform.registry.readValues(kUserRun), Values{dwordValue("Tool", 7)});
    EXPECT_EQ(platform.registry.readValue(kUserRun, "tool"), dwordValue("tool", 7));
}

// Letters beyond ASCII in one case and the other: "Ü" "ü", "É" "é", Cyrillic "Ж" "ж", Greek "Ω" "ω".
const std::pair<std::string, std::string> kLettersInBothCases[] = {
    {"\xC3\x9C", "\xC3\xBC"}, {"\xC3\x89", "\xC3\xA9"}, {"\xD0\x96", "\xD0\xB6"}, {"\xCE\xA9", "\xCF\x89"}};

TEST_F(PlatformContractRegistry, NamesDifferingOnlyInTheCaseOfALetterNameOneValue) {
    for (const auto& [upper, lower] : kLettersInBothCases) {
        const std::string stored = "Tool " + upper, asked = "TOOL " + lower;
        ASSERT_TRUE(platform.registry.writeValue(kUserRun, stringValue(stored, "first.exe"), true)) << stored;
        EXPECT_EQ(platform.registry.readValue(kUserRun, asked), stringValue(asked, "first.exe")) << asked;
        ASSERT_TRUE(platform.registry.writeValue(kUserRun, stringValue(asked, "second.exe"), false)) << asked;
        EXPECT_EQ(platform.registry.readValues(kUserRun), Values{stringValue(stored, "second.exe")}) << stored;
        EXPECT_TRUE(platform.registry.deleteValue(kUserRun, asked)) << asked;
        // The offline platform takes away a key it made once its last value goes.
        EXPECT_EQ(platform.registry.readValues(kUserRun).value_or(Values{}), Values{}) << stored;
    }
}

// What is parked and brought back is what was stored, byte for byte, under
// the name it was stored under: string data that is no well-formed string,
// and a name no UTF-8 holds, move as they stand.
TEST_F(PlatformContractRegistry, DisableAndEnableGiveBackTheStoredBytesAndName) {
    using Bytes = std::vector<std::uint8_t>;
    std::vector<RegistryValue> values = {
        {"Odd length", kRegSz, Bytes{'C', 0, ':', 0, '\\', 0, 'a', 0, 0, 0, 'x'}},
        {"No terminator", kRegSz, Bytes{'C', 0, ':', 0, '\\', 0, 'a', 0}},
        {"Junk after the terminator", kRegExpandSz, Bytes{'a', 0, 0, 0, 0xFF, 0xFE, 'j', 0, 0, 0}},
        {"Unpaired surrogate", kRegSz, Bytes{'a', 0, 0x00, 0xD8, 'b', 0, 0, 0}},
    };
    // The name as the system hands it out: "Tray", an unpaired high surrogate, "2".
    if (backend->storesEveryValueName())
        values.push_back(
            stringValue("Tray\xED\xA0\x80"
                        "2",
                        "C:\\tray.exe"));
    AnswerNo prompts;
    for (const RegistryValue& value : values) {
        seedRegistry(platform, SectionId::UserRun, value);
        StartupEntry row = findRow(platform, SectionId::UserRun, value.name).value();
        for (bool parked : {true, false}) {
            row.checked = !parked;
            ASSERT_TRUE(applyCheckState(platform, prompts, row)) << value.name;
            EXPECT_EQ(platform.registry.readValues(registryKeyOf(SectionId::UserRun, parked)), Values{value})
                << value.name;
            EXPECT_EQ(platform.registry.readValues(registryKeyOf(SectionId::UserRun, !parked)).value_or(Values{}),
                      Values{});
        }
        ASSERT_TRUE(platform.registry.deleteValue(registryKeyOf(SectionId::UserRun), value.name)) << value.name;
    }
}

TEST_F(PlatformContractRegistry, DeleteRemovesOnlyThatValue) {
    for (const char* name : {"keep", "drop"})
        ASSERT_TRUE(platform.registry.writeValue(kUserRun, stringValue(name, "x"), true));
    EXPECT_TRUE(platform.registry.deleteValue(kUserRun, "drop"));
    EXPECT_EQ(platform.registry.readValues(kUserRun), Values{stringValue("keep", "x")});
    EXPECT_FALSE(platform.registry.deleteValue(kUserRun, "drop"));
}

TEST_F(PlatformContractRegistry, EachMachineViewHoldsItsOwnValuesAndTheUsersKeysHaveOne) {
    for (RegistryView view : {RegistryView::Bits32, RegistryView::Bits64})
        ASSERT_TRUE(
            platform.registry.writeValue({Hive::LocalMachine, view, kRunKey}, dwordValue("view", int(view)), true));
    for (RegistryView view : {RegistryView::Bits32, RegistryView::Bits64})
        EXPECT_EQ(platform.registry.readValues({Hive::LocalMachine, view, kRunKey}),
                  Values{dwordValue("view", int(view))});
    EXPECT_FALSE(platform.registry.viewsShareKey(Hive::LocalMachine, kRunKey));
    EXPECT_TRUE(platform.registry.viewsShareKey(Hive::CurrentUser, kRunKey));
}

using PlatformContractProfile = BackendTest;

TEST_F(PlatformContractProfile, MissingKeyIsNotAnEmptyValue) {
    EXPECT_FALSE(platform.profiles.readProfile("Windows", "LsuNeverWritten", winIniPath(platform.system)));
    EXPECT_FALSE(platform.profiles.readProfile("Lsu Section Never Written", "Load", winIniPath(platform.system)));
}

TEST_F(PlatformContractProfile, ValuesReadBackWhole) {
    const std::string winIni = winIniPath(platform.system);
    for (const std::string& line :
         {std::string(), std::string("x"), "C:\\Tools\\" + std::string(300, 'w') + ".exe /q",
          std::string("C:\\\xCE\xB1\xCE\xB2\\\xE4\xB8\xAD\xE6\x96\x87\xF0\x9F\x98\x80.exe")}) {
        ASSERT_TRUE(platform.profiles.writeProfile("Windows", "Load", line, winIni));
        EXPECT_EQ(platform.profiles.readProfile("Windows", "Load", winIni), line);
    }
}

class PlatformContractFiles : public BackendTest {
protected:
    Scratch scratch{platform, "files contract"};
    const std::string dir = scratch.folder();
};

// Windows reads a path with either slash, repeated separators and trailing
// dots and spaces as the same path; a trailing backslash names a folder.
TEST_F(PlatformContractFiles, OnlyPlainFilesExist) {
    const std::string file = scratch.file("present.exe");
    EXPECT_TRUE(platform.files.folderExists(dir));
    EXPECT_TRUE(platform.files.folderExists(dir + "\\"));
    EXPECT_FALSE(platform.files.folderExists(file));
    for (const std::string& same : {file, dir + "/PRESENT.EXE", dir + "\\\\present.exe", file + ". "})
        EXPECT_TRUE(platform.files.fileExists(same)) << same;
    for (const std::string& absent :
         {dir, std::string(), dir + "\\absent.exe", dir + "\\" + std::string(400, 'l') + ".exe",
          dir + "\\bad<name>|.exe", file + "\\"})
        EXPECT_FALSE(platform.files.fileExists(absent)) << absent;
}

TEST_F(PlatformContractFiles, EnsureFolderMakesOneLevel) {
    EXPECT_FALSE(platform.files.ensureFolder(dir + "\\missing parent\\grandchild"));
    const std::string child = dir + "\\child";
    EXPECT_TRUE(platform.files.ensureFolder(child));
    EXPECT_TRUE(platform.files.folderExists(child));
    EXPECT_TRUE(platform.files.ensureFolder(child));
}

TEST_F(PlatformContractFiles, ListingShowsVisiblePlainFilesSortedByName) {
    const std::string name = "\xCE\xB1\xCE\xB2 \xE4\xB8\xAD\xE6\x96\x87 \xF0\x9F\x98\x80.lnk";
    for (const std::string& file : {std::string("beta.exe"), std::string("Alpha.lnk"), std::string("_GAMMA.LNK"),
                                    std::string("sub\\inner.lnk"), name})
        scratch.file(file);
    scratch.hiddenFileAt(dir + "\\hidden.ini");
    EXPECT_EQ(platform.files.listFiles(dir), (std::vector<std::string>{"Alpha.lnk", "beta.exe", "_GAMMA.LNK", name}));
    EXPECT_EQ(platform.files.listFiles(dir + "\\absent"), std::vector<std::string>{});
    EXPECT_EQ(platform.files.listFiles(""), std::vector<std::string>{});
}

TEST_F(PlatformContractFiles, FilesKeepTheirExactBytes) {
    const std::string path = scratch.file("bytes.bin", "");
    for (const Bytes& bytes : {Bytes{0x00, 0x0D, 0x0A, 0xFF, 0x00}, Bytes{0x41}}) {
        ASSERT_TRUE(platform.files.writeFile(path, bytes));
        EXPECT_EQ(platform.files.readFile(path), bytes);
    }
    EXPECT_FALSE(platform.files.readFile(dir + "\\absent.bin"));
    EXPECT_FALSE(platform.files.writeFile(dir + "\\absent\\bytes.bin", {0x41}));
}

TEST_F(PlatformContractFiles, MoveReplacesOnlyWhenAsked) {
    const std::string from = scratch.file("from.lnk", "m"), to = scratch.file("to.lnk", "o"), free = dir + "\\free.lnk";
    EXPECT_FALSE(platform.files.moveFile(from, to, false));
    EXPECT_EQ(platform.files.readFile(from), Bytes{'m'});
    EXPECT_EQ(platform.files.readFile(to), Bytes{'o'});
    EXPECT_TRUE(platform.files.moveFile(from, to, true));
    EXPECT_FALSE(platform.files.fileExists(from));
    EXPECT_EQ(platform.files.readFile(to), Bytes{'m'});
    EXPECT_TRUE(platform.files.moveFile(to, free, false));
    EXPECT_EQ(platform.files.readFile(free), Bytes{'m'});
    EXPECT_FALSE(platform.files.fileExists(to));
    EXPECT_TRUE(platform.files.moveFile(free, to, false));
}

TEST_F(PlatformContractFiles, NamesDifferingOnlyInTheCaseOfALetterNameOneFile) {
    for (const auto& [upper, lower] : kLettersInBothCases) {
        const std::string stored = "Tool " + upper + ".exe", asked = dir + "\\TOOL " + lower + ".EXE";
        const std::string path = scratch.file(stored, "a");
        EXPECT_TRUE(platform.files.fileExists(asked)) << asked;
        ASSERT_TRUE(platform.files.writeFile(asked, {'b'})) << asked;
        EXPECT_EQ(platform.files.listFiles(dir), std::vector<std::string>{stored});
        EXPECT_EQ(platform.files.readFile(path), Bytes{'b'}) << stored;
        EXPECT_TRUE(platform.files.deleteFile(asked)) << asked;
        EXPECT_FALSE(platform.files.fileExists(path)) << stored;
    }
}

TEST_F(PlatformContractFiles, DeleteReportsWhetherAFileWentAway) {
    const std::string path = scratch.file("gone.exe");
    EXPECT_TRUE(platform.files.deleteFile(path));
    EXPECT_FALSE(platform.files.fileExists(path));
    EXPECT_FALSE(platform.files.deleteFile(path));
    EXPECT_FALSE(platform.files.deleteFile(dir + "\\absent\\gone.exe"));
}

TEST_F(PlatformContractFiles, SystemFoldersAreKnownWithoutATrailingBackslash) {
    const std::string user = platform.system.shellFolder(ShellFolder::UserStartup),
                      shared = platform.system.shellFolder(ShellFolder::CommonStartup);
    EXPECT_NE(user, shared);
    for (const std::string& folder :
         {user, shared, platform.system.windowsDirectory(), platform.system.programFolder()}) {
        EXPECT_FALSE(folder.ends_with('\\')) << folder;
        EXPECT_TRUE(platform.files.folderExists(folder)) << folder;
    }
}

class PlatformContractShortcuts : public BackendTest {
protected:
    Scratch scratch{platform, "shortcuts contract"};
    const std::string windows = platform.system.windowsDirectory();

    // Wine's link object reads every show command back as "normal", so these
    // links keep that one.
    ShortcutFields toolFields() const {
        return {windows + "\\notepad.exe",
                "/quiet \"C:\\some file.txt\"",
                "A tool",
                0x0654,
                1,
                windows,
                windows + "\\notepad.exe",
                1};
    }
    std::string seeded(const std::string& name) {
        const std::string path = scratch.file(name, "");
        backend->seedShortcut(path, toolFields());
        return path;
    }
};

TEST_F(PlatformContractShortcuts, LinksReadBackTheirFieldsAndFileName) {
    for (const auto& [file, shown] : {std::pair{"Tool.lnk", "Tool"}, std::pair{"LOUD.LNK", "LOUD"}}) {
        const ShortcutInfo info = platform.links.readShortcut(seeded(file)).value();
        EXPECT_EQ(info.fields, toolFields()) << file;
        EXPECT_EQ(info.displayName, shown) << file;
    }
}

// Each thread lets go of what it read links with before it ends.
TEST_F(PlatformContractShortcuts, ThreadsOfTheirOwnReadLinksAndEndCleanly) {
    const std::string link = seeded("Tool.lnk");
    for (int round = 0; round < 20; ++round)
        std::thread([&] { EXPECT_EQ(platform.links.readShortcut(link).value().fields, toolFields()); }).join();
}

TEST_F(PlatformContractShortcuts, OnlyReadableLinksAreShortcuts) {
    EXPECT_FALSE(platform.links.readShortcut(scratch.file("plain.lnk", "this is not a shell link")));
    EXPECT_FALSE(platform.links.readShortcut(scratch.folder() + "\\absent.lnk"));
}

// A link is written whole or not at all: it reads back with the fields it
// was given, replaces a file standing there only when asked to, and leaves
// nothing behind where it cannot be written.
TEST_F(PlatformContractShortcuts, WrittenLinksHoldTheirFieldsAndReplaceOnlyWhenAsked) {
    const std::string link = scratch.file("Written.lnk", "not a link");
    const ShortcutFields changed{windows + "\\regedit.exe", "/s", "Changed", 0, 1, windows + "\\system32", "", 0};
    EXPECT_FALSE(platform.links.writeShortcut(link, toolFields(), false));
    EXPECT_EQ(platform.files.readFile(link), (Bytes{'n', 'o', 't', ' ', 'a', ' ', 'l', 'i', 'n', 'k'}));
    ASSERT_TRUE(platform.links.writeShortcut(link, toolFields(), true));
    EXPECT_EQ(platform.links.readShortcut(link).value().fields, toolFields());
    ASSERT_TRUE(platform.links.writeShortcut(link, changed, true));
    EXPECT_EQ(platform.links.readShortcut(link).value().fields, changed);
    EXPECT_FALSE(platform.links.writeShortcut(scratch.folder() + "\\absent\\Tool.lnk", toolFields(), false));
    EXPECT_EQ(platform.files.listFiles(scratch.folder()), std::vector<std::string>{"Written.lnk"});
}

}  // namespace
}  // namespace lsu
