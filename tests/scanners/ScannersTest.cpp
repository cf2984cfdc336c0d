#include <gtest/gtest.h>

#include "platform/memory/MemoryPlatform.h"
#include "scanners/RegistryData.h"
#include "scanners/Scanners.h"
#include "scanners/SectionLoading.h"
#include "support/Backend.h"
#include "support/Scratch.h"
#include "support/Seed.h"

namespace lsu {
namespace {

using namespace test;
using enum SectionId;
using enum RegistryView;

// Counts the version resources read through it.
class CountedVersions : public VersionInfo {
public:
    explicit CountedVersions(VersionInfo& read) : read_(read) {}
    std::string companyName(const std::string& programPath) override {
        ++reads;
        return read_.companyName(programPath);
    }
    int reads = 0;

private:
    VersionInfo& read_;
};

class ScannersTest : public BackendTest {
protected:
    Scratch scratch{platform, "scanners"};
    const std::string present = scratch.file("present.exe");
    CountedVersions versions{platform.versions};
    const ScanPorts counted{platform, versions};

    // The rows of a leaf, each of that leaf and ticked when it is enabled.
    EntryList load(SectionId id) {
        EntryList rows = loadSection(platform, id).rows;
        for (const auto& row : rows) {
            EXPECT_EQ(row.section, id) << row.name;
            EXPECT_EQ(row.checked, row.enabled) << row.name;
        }
        return rows;
    }
};

// Names are seeded in name order, in which both the in-memory registry
// (creation order) and Wine's (name order) enumerate them.
TEST_F(ScannersTest, RegistryRowsAreTheEnabledValuesThenTheParkedOnes) {
    const RegistryValue parked{"a parked", kRegDword, {1, 0, 0, 0}};
    seedRegistry(platform, UserRun, parked, true);
    const std::vector<RegistryValue> values = {stringValue("b found", present), stringValue("c gone", "C:\\lsu\\x.exe"),
                                               parked};
    for (std::size_t i = 0; i < 2; ++i) seedRegistry(platform, UserRun, values[i]);
    // A value in a subkey is not an entry of the key.
    ASSERT_TRUE(platform.registry.writeValue({Hive::CurrentUser, Shared, registryKeyOf(UserRun).subkey + "\\Sub"},
                                             values[0], true));
    const EntryList rows = load(UserRun);
    EXPECT_EQ(cells(rows, Column::Name), (Texts{"b found", "c gone", "a parked"}));
    EXPECT_EQ(cells(rows, Column::CommandLine), (Texts{present, "C:\\lsu\\x.exe", "1"}));
    EXPECT_EQ(cells(rows, Column::Exists), (Texts{"Yes", "No", "No"}));
    EXPECT_EQ(cells(rows, Column::Type), Texts(3, "Reg"));
    EXPECT_EQ(fieldOf(rows, &StartupEntry::stored), values);
    EXPECT_EQ(fieldOf(rows, &StartupEntry::view), std::vector(3, Shared));
}

TEST_F(ScannersTest, MachineKeysAreReadInBothViews) {
    seedRegistry(platform, MachineRun, stringValue("native", "a.exe"), false, Bits64);
    seedRegistry(platform, MachineRun, stringValue("wow", "b.exe"), false, Bits32);
    seedRegistry(platform, MachineRun, stringValue("parked", "c.exe"), true, Bits32);
    const EntryList rows = load(MachineRun);
    EXPECT_EQ(cells(rows, Column::Name), (Texts{"native", "wow", "parked"}));
    EXPECT_EQ(cells(rows, Column::Status), (Texts{"Enabled", "Enabled", "Disabled"}));
    EXPECT_EQ(fieldOf(rows, &StartupEntry::view), (std::vector{Bits64, Bits32, Bits32}));
}

TEST(RegistryScanner, MachineKeysTheViewsShareAreReadOnce) {
    MemoryPlatform platform;
    platform.setSharedViews(true);
    seedRegistry(platform, MachineRunOnce, stringValue("once", "a.exe"));
    EXPECT_EQ(fieldOf(loadSection(platform, MachineRunOnce).rows, &StartupEntry::view), std::vector{Bits64});
}

TEST(RegistryData, RendersEachTypeAsTheCommandLineCellShowsIt) {
    const std::pair<RegistryValue, const char*> cases[] = {
        {stringValue("", "C:\\a.exe /x"), "C:\\a.exe /x"},
        {{"", kRegSz, {'a', 0, 'b'}}, "a"},
        {{"", kRegSz, {}}, ""},
        {{"", kRegSz, {'a', 0, 'b', 0}}, "ab"},
        {{"", kRegSz, {'a', 0, 0, 0, 'j', 0}}, "a"},
        {stringValue("", "%SystemRoot%\\a.exe", kRegExpandSz), "%SystemRoot%\\a.exe"},
        {{"", kRegNone, {}}, ""},
        {stringValue("", std::string("a\0b", 3), kRegMultiSz), "a b"},
        {{"", kRegDword, {0, 0, 0, 0}}, "0"},
        {{"", kRegDword, {1}}, "01"},
        {{"", kRegDword, {0xFF, 0xFF, 0xFF, 0xFF}}, "4294967295"},
        {{"", kRegBinary, {0x01, 0xAB, 0x00}}, "01 AB 00"},
        {{"", kRegQword, {1, 0, 0, 0, 0, 0, 0, 1}}, "72057594037927937"},
        {{"", kRegQword, {1, 2}}, "01 02"}};
    for (const auto& [value, shown] : cases) EXPECT_EQ(renderRegistryData(value), shown) << shown;
}

TEST(WinIniEntryName, IsTheLastComponentUpToItsFirstDot) {
    const std::pair<const char*, const char*> cases[] = {{"C:\\Tools\\Tray App.exe", "Tray App"},
                                                         {"notepad.exe", "notepad"},
                                                         {"C:\\Tools\\viewer", "viewer"},
                                                         {"C:\\a.exe C:\\b.exe", "b"},
                                                         {"C:\\My.Tools\\app", "app"},
                                                         {"C:\\Tools\\my.app.exe", "my"}};
    for (const auto& [line, name] : cases) EXPECT_EQ(winIniEntryName(line), name);
}

TEST_F(ScannersTest, WinIniRowsAreTheWholeLineEnabledThenParked) {
    seedWinIni(platform, WinIniRun, "C:\\Old\\parked.exe -x", true);
    seedWinIni(platform, WinIniRun, present + " /s");
    const EntryList rows = load(WinIniRun);
    EXPECT_EQ(cells(rows, Column::Name), (Texts{"present", "parked"}));
    EXPECT_EQ(cells(rows, Column::CommandLine), (Texts{present + " /s", "C:\\Old\\parked.exe -x"}));
    EXPECT_EQ(cells(rows, Column::Type), (Texts{"File", "File"}));
}

TEST_F(ScannersTest, WinIniNoAndEmptyKeysHoldNoEntry) {
    seedWinIni(platform, WinIniLoad, "", true);
    for (const char* line : {"No", "", "no"}) {
        seedWinIni(platform, WinIniLoad, line);
        EXPECT_EQ(cells(load(WinIniLoad), Column::Name), line == std::string("no") ? Texts{"no"} : Texts{}) << line;
    }
}

TEST_F(ScannersTest, ShortcutsAreListedByDisplayNameWithTheirTarget) {
    const std::string folder = startupFolder(platform, StartupAllUsers);
    for (const auto& [file, target] : {std::pair(folder + "\\Tray Clock.lnk", present),
                                       std::pair(folder + "\\UPPER.LNK", std::string("C:\\lsu\\x.exe"))})
        backend->seedShortcut(scratch.fileAt(file, ""), {target, "-min", "", 0, 1, "", "", 0});
    scratch.fileAt(folder + "\\broken.lnk", "not a link");
    scratch.fileAt(folder + "\\sync.bat");
    const EntryList rows = load(StartupAllUsers);
    EXPECT_EQ(cells(rows, Column::Name), (Texts{"broken", "sync.bat", "Tray Clock", "UPPER"}));
    EXPECT_EQ(cells(rows, Column::CommandLine), (Texts{"", "sync.bat", present, "C:\\lsu\\x.exe"}));
    EXPECT_EQ(cells(rows, Column::Exists), (Texts{"No", "Yes", "Yes", "No"}));
    EXPECT_EQ(cells(rows, Column::Type), (Texts{"Lnk", "File", "Lnk", "Lnk"}));
    EXPECT_EQ(fieldOf(rows, &StartupEntry::fileName), (Texts{"broken.lnk", "sync.bat", "Tray Clock.lnk", "UPPER.LNK"}));
}

TEST_F(ScannersTest, FoldersListTheirVisibleFilesThenTheParkedOnes) {
    const std::string folder = startupFolder(platform, StartupCurrentUser);
    scratch.hiddenFileAt(folder + "\\desktop.ini");
    ASSERT_TRUE(platform.files.ensureFolder(folder + "\\Sub"));
    ASSERT_TRUE(platform.files.writeFile(folder + "\\Sub\\inner.bat", {'x'}));
    scratch.fileAt(startupFolder(platform, StartupCurrentUser, true) + "\\a parked.bat");
    scratch.fileAt(folder + "\\b.bat");
    scratch.fileAt(folder + "\\A.bat");
    const EntryList rows = load(StartupCurrentUser);
    EXPECT_EQ(cells(rows, Column::Name), (Texts{"A.bat", "b.bat", "a parked.bat"}));
    EXPECT_EQ(cells(rows, Column::Status), (Texts{"Enabled", "Enabled", "Disabled"}));
    (void)loadSection(counted, StartupCurrentUser);
    EXPECT_EQ(versions.reads, 0);  // a script names no maker
}

// The publisher is the company of the program the existence test finds (a
// link's target), read once per path; a program without a version resource,
// or one not found, has none.
TEST_F(ScannersTest, EachRowNamesThePublisherOfTheProgramItStarts) {
    const ProgramWithPublisher program = seedProgramWithPublisher(*backend);
    seedRegistry(platform, UserRun, stringValue("a bare", "regedit.exe /s"));
    seedRegistry(platform, UserRun, stringValue("b full", "\"" + program.path + "\""));
    seedRegistry(platform, UserRun, stringValue("c plain", present));
    seedRegistry(platform, UserRun, stringValue("d gone", "C:\\lsu\\gone.exe"));
    EXPECT_EQ(cells(loadSection(counted, UserRun).rows, Column::Publisher),
              (Texts{program.company, program.company, "", ""}));
    EXPECT_EQ(versions.reads, 2);
    ShortcutFields link;
    link.targetPath = program.path;
    backend->seedShortcut(startupFolder(platform, StartupCurrentUser) + "\\Editor.lnk", link);
    EXPECT_EQ(cells(loadSection(platform, StartupCurrentUser).rows, Column::Publisher), Texts{program.company});
}

// The rows of the sources read first reach the window while the slower ones
// are still to be read.
TEST(SectionLoading, HandsEachLeafsRowsOnAsSoonAsTheyAreReadAndStopsWhenTold) {
    MemoryPlatform platform;
    seedRegistry(platform, UserRun, stringValue("Tool", "tool.exe"));
    int reads = 0, readsAtFirstBatch = 0;
    platform.failWhen = [&](MemoryOp op) { return (reads += op == MemoryOp::RegistryRead, false); };
    std::vector<EntryList> batches;
    loadSectionInBatches(platform, AllPrograms, [&](EntryList rows) {
        batches.push_back(std::move(rows));
        readsAtFirstBatch = reads;
        return false;
    });
    ASSERT_EQ(batches.size(), 1u);
    EXPECT_EQ(cells(batches[0], Column::Name), Texts{"Tool"});
    EXPECT_EQ(reads, readsAtFirstBatch);
}

// A service hosted by a shared process is the library it names; Windows' own
// (a program of the Windows folder by the maker of Windows' own libraries)
// are left out on request.
TEST_F(ScannersTest, AServiceNamesThePublisherOfItsProgramAndWindowsOwnAreLeftOutOnRequest) {
    const ProgramWithPublisher program = seedProgramWithPublisher(*backend);
    ServiceConfig hosted{"LsuTestHosted",   "Hosted", kServiceShareProcess,
                         kServiceAutoStart, false,    "%SystemRoot%\\system32\\svchost.exe -k LsuTest",
                         program.path};
    ServiceConfig own{"LsuTestOwn", "Own", kServiceOwnProcess, kServiceAutoStart, false, "C:\\lsu\\gone.exe -s", ""};
    backend->seedService(hosted);
    backend->seedService(own);
    EntryList rows = load(ServicesAutomatic);
    std::erase_if(rows, [](const StartupEntry& row) { return !row.name.starts_with("LsuTest"); });
    std::sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    EXPECT_EQ(cells(rows, Column::Publisher), (Texts{program.company, ""}));
    EXPECT_EQ(cells(rows, Column::Exists), (Texts{"Yes", "No"}));
    removeWindowsServices(rows);
    EXPECT_EQ(cells(rows, Column::Name), Texts{"Own (LsuTestOwn)"});
}

}  // namespace
}  // namespace lsu
