#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "base/CaseFolding.h"
#include "base/Text.h"
#include "base/Utf16.h"
#include "catalog/CommandLine.h"
#include "catalog/DisabledStores.h"
#include "catalog/ExistenceCheck.h"
#include "scanners/SectionLoading.h"
#include "support/Backend.h"
#include "support/Scratch.h"
#include "support/Seed.h"

namespace lsu {
namespace {

using CatalogTest = test::BackendTest;

// The tree as the folder pane shows it, parents before their children:
// each section's key, its caption and its parent's key.
TEST(Sections, TheTreeHoldsEverySectionBelowItsParent) {
    using Node = std::tuple<std::string_view, std::string_view, std::string_view>;
    std::vector<Node> shown;
    for (SectionId id : sectionTree()) {
        const Section& node = section(id);
        shown.emplace_back(node.key, node.caption, node.parent ? section(*node.parent).key : "");
    }
    EXPECT_EQ(shown, (std::vector<Node>{
                         {"All Programs", "All", ""},
                         {"Startup Folder", "Startup folder", "All Programs"},
                         {"Startup Folder\\All Users", "All users", "Startup Folder"},
                         {"Startup Folder\\Current User", "Current user", "Startup Folder"},
                         {"Registry", "Registry", "All Programs"},
                         {"Registry\\All Users", "All users", "Registry"},
                         {"Registry\\All Users\\Run", "Run", "Registry\\All Users"},
                         {"Registry\\All Users\\Run Once", "Run once", "Registry\\All Users"},
                         {"Registry\\All Users\\Run Once Ex", "Run once Ex", "Registry\\All Users"},
                         {"Registry\\All Users\\Run Services", "Run services", "Registry\\All Users"},
                         {"Registry\\All Users\\Run Services Once", "Run services once", "Registry\\All Users"},
                         {"Registry\\All Users\\Policy Run", "Policy Run", "Registry\\All Users"},
                         {"Registry\\Current User", "Current User", "Registry"},
                         {"Registry\\Current User\\Run", "Run", "Registry\\Current User"},
                         {"Registry\\Current User\\Run Once", "Run once", "Registry\\Current User"},
                         {"Registry\\Current User\\Policy Run", "Policy Run", "Registry\\Current User"},
                         {"Win.ini", "Win.ini", "All Programs"},
                         {"Win.ini\\Load", "Load", "Win.ini"},
                         {"Win.ini\\Run", "Run", "Win.ini"},
                         {"Services", "Services", "All Programs"},
                         {"Services\\Automatic", "Automatic", "Services"},
                         {"Services\\Automatic (delayed)", "Automatic (delayed)", "Services"},
                         {"Scheduled tasks", "Scheduled tasks", "All Programs"},
                         {"Scheduled tasks\\At logon", "At logon", "Scheduled tasks"},
                         {"Scheduled tasks\\At start-up", "At start-up", "Scheduled tasks"},
                         {"Apps", "Apps", "All Programs"},
                     }));
}

// The current user's registry keys before the machine's, the registry
// before win.ini, win.ini before the Startup folders, the shared folder
// before the user's, and last what others keep: packaged apps, services and,
// slowest to read, scheduled tasks.
TEST(Sections, EachSectionStandsForItsLeavesInReadingOrder) {
    using enum SectionId;
    const std::pair<SectionId, std::vector<SectionId>> cases[] = {
        {AllPrograms,
         {UserRun, UserRunOnce, UserPolicyRun, MachineRun, MachineRunOnce, MachineRunOnceEx, MachineRunServices,
          MachineRunServicesOnce, MachinePolicyRun, WinIniLoad, WinIniRun, StartupAllUsers, StartupCurrentUser,
          PackagedApps, ServicesAutomatic, ServicesDelayed, TasksAtLogon, TasksAtStartup}},
        {Registry,
         {UserRun, UserRunOnce, UserPolicyRun, MachineRun, MachineRunOnce, MachineRunOnceEx, MachineRunServices,
          MachineRunServicesOnce, MachinePolicyRun}},
        {RegistryCurrentUser, {UserRun, UserRunOnce, UserPolicyRun}},
        {StartupFolder, {StartupAllUsers, StartupCurrentUser}},
        {WinIni, {WinIniLoad, WinIniRun}},
        {ServicesGroup, {ServicesAutomatic, ServicesDelayed}},
        {ScheduledTasks, {TasksAtLogon, TasksAtStartup}},
        {MachineRunOnceEx, {MachineRunOnceEx}},
    };
    for (const auto& [id, leaves] : cases) EXPECT_EQ(leavesOf(id), leaves) << section(id).key;
}

std::string upperCased(std::string_view key) { return utf8FromUtf16(foldedName(key)); }

TEST(Sections, KeysAreFoundExactlyOrIgnoringCase) {
    for (SectionId id : sectionTree()) {
        const std::string key(section(id).key);
        EXPECT_EQ(findSection(key), id);
        EXPECT_EQ(findSection(upperCased(key)), std::nullopt) << key;
        EXPECT_EQ(findSectionIgnoringCase(upperCased(key)), id) << key;
    }
    EXPECT_EQ(findSectionIgnoringCase("Registry\\Nowhere"), std::nullopt);
}

// Parks an entry where the leaf's disabled store is said to be (the registry
// key with "-" appended in the same hive, win.ini's "SM_Disabled", the folder
// named as the section, which the program makes at its start); returns the name it is listed under.
std::string parkBeside(const ScanPorts& platform, SectionId leaf) {
    const std::string name = "parked " + std::to_string(static_cast<int>(leaf));
    Status parked;
    if (const auto* registry = sourceAs<RegistrySource>(leaf))
        parked =
            platform.registry.writeValue({registry->hive, RegistryView::Bits64, std::string(registry->subkey) + "-"},
                                         test::stringValue(name, "x.exe"), true);
    else if (const auto* winIni = sourceAs<WinIniSource>(leaf))
        parked = platform.profiles.writeProfile("SM_Disabled", std::string(winIni->key), "C:\\" + name,
                                                platform.system.windowsDirectory() + "\\win.ini");
    else {
        // The current user's items are kept per user, the items of all users
        // beside the program.
        const std::string base = sourceAs<FolderSource>(leaf)->folder == ShellFolder::UserStartup
                                     ? platform.system.shellFolder(ShellFolder::LocalAppData) + "\\LStartUp"
                                     : platform.system.programFolder();
        parked = platform.files.writeFile(base + "\\" + std::string(section(leaf).key) + "\\" + name, {'x'});
    }
    EXPECT_TRUE(parked) << name;
    return name;
}

TEST_F(CatalogTest, DisabledStoresStandBesideTheirSources) {
    ASSERT_TRUE(ensureDisabledItemsFolders(platform.system, platform.files));
    test::Texts names, keys;
    for (SectionId leaf : leavesOf(SectionId::AllPrograms)) {
        // What group policy sets, and what a package, the scheduler or the
        // service manager keeps, has no disabled store.
        if (section(leaf).readOnly || section(leaf).keptBy) continue;
        names.push_back(parkBeside(platform, leaf));
        keys.emplace_back(section(leaf).key);
    }
    EntryList rows = loadSection(platform, SectionId::AllPrograms).rows;
    std::erase_if(rows, [](const StartupEntry& row) { return row.type == EntryType::Service; });
    EXPECT_EQ(test::cells(rows, Column::Name), names);
    EXPECT_EQ(test::cells(rows, Column::Section), keys);
    EXPECT_EQ(test::cells(rows, Column::Status), test::Texts(keys.size(), "Disabled"));
}

TEST(CommandLine, SplitsTheProgramFromItsArgumentsAsWindowsDoes) {
    const std::set<std::string> files = {"C:\\Program Files\\My App\\app.exe", "C:\\My.Tools\\app.exe"};
    const auto exists = [&](const std::string& path) { return files.count(path) != 0; };
    const std::pair<const char*, ProgramAndArguments> cases[] = {
        {"\"C:\\Program Files\\App\\app.exe\" -min /x", {"C:\\Program Files\\App\\app.exe", "-min /x"}},
        {"  \"C:\\a b\\c.exe\"", {"C:\\a b\\c.exe", ""}},
        {"\"C:\\unterminated", {"C:\\unterminated", ""}},
        {"C:\\Tools\\app.exe   -min ", {"C:\\Tools\\app.exe", "-min"}},
        {"   ", {}},
        {"C:\\Program Files\\My App\\app.exe /tray now", {"C:\\Program Files\\My App\\app.exe", "/tray now"}},
        {"C:\\Program Files\\My App\\app /tray", {"C:\\Program Files\\My App\\app.exe", "/tray"}},
        {"C:\\Program Files\\My App\\app.exe", {"C:\\Program Files\\My App\\app.exe", ""}},
        {"C:\\My.Tools\\app -x", {"C:\\My.Tools\\app.exe", "-x"}},
        {"C:\\Program Files\\Gone\\x.exe", {"C:\\Program", "Files\\Gone\\x.exe"}},
    };
    for (const auto& [line, split] : cases) EXPECT_EQ(splitCommandLine(line, exists), split) << line;
    EXPECT_EQ(splitCommandLine("C:\\Program Files\\My App\\app.exe /tray"),
              (ProgramAndArguments{"C:\\Program", "Files\\My App\\app.exe /tray"}));
}

TEST_F(CatalogTest, FindsTheProgramAsWindowsWouldStartIt) {
    test::Scratch scratch(platform, "existence");
    const std::string dir = scratch.folder(), windows = platform.system.windowsDirectory();
    const std::string app = scratch.file("app.exe"), dashed = scratch.file("Tools - Old\\app.exe");
    const std::string spaced = scratch.file("My Tools\\app.exe");
    const std::string greek = scratch.file("\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1 \xE6\x97\xA5\xE6\x9C\xAC.exe");
    scratch.file("v1.2\\tool.exe");
    ASSERT_TRUE(platform.files.ensureFolder(windows + "\\system"));
    for (const char* file : {"\\lsu-probe.exe", "\\system\\lsu-probe16.exe", "\\system32\\lsu-probe32.exe"})
        scratch.fileAt(windows + file);
    const std::pair<std::string, bool> cases[] = {
        {"\"" + app + "\" /min", true},
        {app + " -hidden", true},
        {app + " /background", true},
        {"\"" + dashed + "\" -tray", true},
        {"\"" + dashed + "\" /x -y", true},
        {dashed, true},
        {spaced + " hidden", true},
        {dir + "\\My Tools\\app hidden", true},
        {dir + "\\v1.2\\tool /x", true},
        {dir + "\\My Tools\\missing.exe hidden", false},
        {dir + "\\\"My Tools\"\\app.exe /x", true},
        {"%SystemRoot%\\lsu-probe.exe", true},
        {"\"%SystemRoot%\\lsu-probe.exe\" /s", true},
        {"lsu-probe.exe", true},
        {"%LSU_NOT_A_VARIABLE%\\lsu-probe.exe", false},
        {"lsu-probe16.exe", true},
        {"lsu-probe32.exe /q", true},
        {"lsu-probe32", true},
        {"lsu-absent.exe", false},
        {"C:\\lsu-probe.exe", false},
        {"\"" + greek + "\" -x", true},
        {greek, true},
        {"", false},
        {"   ", false},
        {"\"\"", false},
        {"\"", false},
        {dir, false},
        {"C:\\lsu\\x.exe", false},
        {"C:\\a<b>|\"?*.exe", false},
        {"C:\\" + std::string(400, 'a') + ".exe", false},
        {std::string(5000, ' ') + "x -" + std::string(3000, '/'), false},
    };
    for (const auto& [line, found] : cases)
        EXPECT_EQ(ExistenceCheck(platform.files, platform.system, platform.versions).programExists(line), found)
            << line;
}

// A file that appears after a check looked for it is news to a new check only.
TEST_F(CatalogTest, OneCheckProbesEachPathOnce) {
    test::Scratch scratch(platform, "probes");
    const std::string program = scratch.folder() + "\\late.exe";
    ExistenceCheck check(platform.files, platform.system, platform.versions);
    EXPECT_FALSE(check.programExists(program + " /q"));
    scratch.fileAt(program);
    EXPECT_FALSE(check.programExists(program));
    EXPECT_TRUE(ExistenceCheck(platform.files, platform.system, platform.versions).programExists(program));
}

}  // namespace
}  // namespace lsu
