#include <nlohmann/json.hpp>

#include <algorithm>

#include "cli/CliHarness.h"
#include "cli/DisplayWidth.h"
#include "cli/ExitCodes.h"
#include "cli/VersionLine.h"
#include "platform/memory/MemoryPlatform.h"
#include "ui/logic/ChangeMessages.h"
#include "ui/logic/LanguageTable.h"

namespace lsu::test {
namespace {

constexpr const char* kUserRun = "Registry\\Current User\\Run";

class CliTest : public MixedInventoryTest {
protected:
    std::string listed(const std::vector<std::string>& args, int terminalWidth = 200) {
        const CliResult result = runTool(platform(), args, terminalWidth);
        EXPECT_EQ(result.code, cli::kExitOk) << result.err;
        EXPECT_EQ(result.err, "");
        return result.out;
    }
};

TEST_F(CliTest, EveryFormatListsTheWindowsRowsOfEverySection) {
    for (SectionId id : sectionTree()) {
        const std::string key(section(id).key);
        SCOPED_TRACE(key);
        const EntryList rows = loadSection(platform(), id).rows;
        EXPECT_EQ(listed({"list", key, "--format", "csv"}), cli::formatCsv(rows));
        EXPECT_EQ(listed({"list", key, "--format", "json"}), cli::formatJson(rows));
        EXPECT_EQ(listed({"list", key}, 1000), cli::formatTable(rows, 1000));
    }
    EXPECT_EQ(listed({"list"}), listed({"list", "all programs"}));  // no section lists them all, as does "all programs"
}

TEST_F(CliTest, WideListsTheTableWholeInANarrowTerminalToo) {
    const EntryList rows = loadSection(platform(), SectionId::AllPrograms).rows;
    EXPECT_EQ(listed({"list", "--wide"}, 80), cli::formatTable(rows, cli::kWholeCells));
    EXPECT_EQ(listed({"list"}, 80), cli::formatTable(rows, 80));
    EXPECT_NE(listed({"list"}, 80), listed({"list", "--wide"}, 80));
}

TEST_F(CliTest, DisableParksTheEntryFoundInAnyLeafAndEnableBringsItBack) {
    const std::string before = inventory(platform());
    EXPECT_EQ(listed({"enable", kUserRun, "Tool"}), "\"Tool\" in Registry\\Current User\\Run is already enabled.\n");
    // Found in a group named in any case, by a name in any case.
    EXPECT_EQ(listed({"disable", "all PROGRAMS", "tool"}), "Disabled \"Tool\" in Registry\\Current User\\Run.\n");
    EXPECT_FALSE(findRow(platform(), SectionId::UserRun, "Tool").value().enabled);
    EXPECT_EQ(listed({"enable", kUserRun, "Tool"}), "Enabled \"Tool\" in Registry\\Current User\\Run.\n");
    EXPECT_EQ(inventory(platform()), before);
}

TEST_F(CliTest, AddWritesTheEntryAndWithYesReplacesAnotherOrDeletesOne) {
    EXPECT_EQ(listed({"add", kUserRun, "New", "C:\\new.exe -a"}), "Added \"New\" to Registry\\Current User\\Run.\n");
    EXPECT_EQ(findRow(platform(), SectionId::UserRun, "New")->commandLine, "C:\\new.exe -a");
    listed({"add", kUserRun, "tool", "C:\\other.exe", "-y"});
    EXPECT_EQ(findRow(platform(), SectionId::UserRun, "Tool")->commandLine, "C:\\other.exe");
    EXPECT_EQ(listed({"delete", "Win.ini", "run", "--yes"}), "Deleted \"run\" from Win.ini\\Run.\n");
    EXPECT_FALSE(findRow(platform(), SectionId::WinIniRun, "run"));
}

TEST_F(CliTest, EveryErrorLeavesOneLineOnStderrAndChangesNothing) {
    seedRegistry(platform(), SectionId::UserRun, stringValue("Parked", "other.exe"));
    seedWinIni(platform(), SectionId::WinIniLoad, "C:\\parked.exe", true);
    seedRegistry(platform(), SectionId::UserPolicyRun, stringValue("Mandated", "C:\\corp\\agent.exe"));
    const std::string before = inventory(platform());
    const std::pair<std::vector<std::string>, int> cases[] = {
        {{"frobnicate"}, cli::kExitUsage},
        {{"disable", "Tool"}, cli::kExitUsage},
        {{"add", kUserRun, "", "x.exe"}, cli::kExitUsage},
        {{"list", "Registry\\Nowhere"}, cli::kExitUnknownSection},
        {{"add", "Registry\\Nowhere", "x", "x.exe"}, cli::kExitUnknownSection},
        {{"add", "Win.ini\\Run", "x", "x.exe", "--yes"}, cli::kExitUnknownSection},
        {{"delete", kUserRun, "Nobody", "--yes"}, cli::kExitEntryNotFound},
        {{"enable", kUserRun, "parked"}, cli::kExitAmbiguousName},
        {{"delete", kUserRun, "Tool"}, cli::kExitRefused},
        {{"disable", "Win.ini\\Load", "load"}, cli::kExitRefused},
        {{"add", "Startup Folder\\Current User", "linked", "C:\\other.exe"}, cli::kExitRefused},
        {{"delete", "Registry\\Current User\\Policy Run", "mandated", "--yes"}, cli::kExitReadOnlyEntry},
        {{"add", "Services\\Automatic", "x", "x.exe", "--yes"}, cli::kExitNotOffered},
        {{"add", "Apps", "x", "x.exe", "--yes"}, cli::kExitNotOffered},
        {{"add", "Scheduled tasks\\At logon", "x", "x.exe", "--yes"}, cli::kExitNotOffered},
        {{"undo"}, cli::kExitEntryNotFound},
        {{"undo", "99"}, cli::kExitEntryNotFound},
        {{"undo", "0"}, cli::kExitUsage},
    };
    for (const auto& [args, code] : cases) {
        const CliResult result = runTool(platform(), args);
        EXPECT_EQ(result.code, code) << args.front() << ": " << result.err;
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
        EXPECT_TRUE(result.err.starts_with("lstartup-cli: error: ")) << result.err;
        EXPECT_EQ(inventory(platform()), before) << args.front();
    }
    EXPECT_EQ(runTool(platform(), {"frobnicate"}).err,
              "lstartup-cli: error: unknown command \"frobnicate\" (commands: "
              "list, enable, disable, delete, add, history, undo, snapshot, diff; see --help)\n");
    EXPECT_EQ(runTool(platform(), {"delete", kUserRun, "Tool"}).err,
              "lstartup-cli: error: refused: Are you sure to delete the selected item? This action can not be undone."
              " Give --yes to answer Yes.\n");
}

// The journal as the tool shows it, and an undo of the last change and of
// one that a later change overtook.
TEST_F(CliTest, HistoryListsEachChangeAndUndoPutsItBack) {
    seedRegistry(platform(), SectionId::UserRun, stringValue("Tool", "C:\\tool.exe"));
    const std::string before = inventory(platform());
    ASSERT_EQ(runTool(platform(), {"disable", kUserRun, "Tool"}).code, cli::kExitOk);
    const CliResult undone = runTool(platform(), {"undo"});
    EXPECT_EQ(undone.code, cli::kExitOk) << undone.err;
    EXPECT_EQ(undone.out, "Undid change 1 (\"Tool\" in Registry\\Current User\\Run) as change 2.\n");
    EXPECT_EQ(inventory(platform()), before);
    const CliResult again = runTool(platform(), {"undo", "1"});
    EXPECT_EQ(again.code, cli::kExitUndoRefused);
    EXPECT_EQ(inventory(platform()), before);

    auto json = nlohmann::json::parse(runTool(platform(), {"history", "--format", "json"}).out);
    ASSERT_EQ(json.size(), 2u);
    for (const char* volatileField : {"time", "places"})
        for (auto& change : json) change.erase(volatileField);
    EXPECT_EQ(json, nlohmann::json::parse(R"([
        {"id": 1, "action": "disable", "entry": "Tool", "section": "Registry\\Current User\\Run",
         "tool": "lstartup-cli", "outcome": "done", "message": "", "undoes": null},
        {"id": 2, "action": "undo", "entry": "Tool", "section": "Registry\\Current User\\Run",
         "tool": "lstartup-cli", "outcome": "done", "message": "", "undoes": 1}])"));
    const auto csv = linesOf(runTool(platform(), {"history", "--format", "csv"}).out);
    ASSERT_EQ(csv.size(), 3u);
    EXPECT_EQ(csv[0], "No.,Time,Action,Entry,Section,Tool,Outcome\r");
    EXPECT_TRUE(csv[2].starts_with("2,")) << csv[2];
    EXPECT_TRUE(csv[2].ends_with(",Undo of 1,Tool,Registry\\Current User\\Run,lstartup-cli,Done\r")) << csv[2];
    const auto table = linesOf(runTool(platform(), {"history"}).out);
    ASSERT_EQ(table.size(), 3u);
    EXPECT_TRUE(table[0].starts_with("No.  Time  ")) << table[0];
}

// A service is found by its display name too; it is switched off and on
// again, never deleted; Windows' own are left out on request.
TEST_F(CliTest, ServicesAreListedSwitchedOffAndOnAgainAndNeverDeleted) {
    const ProgramWithPublisher program = seedProgramWithPublisher(backend());
    backend().seedService(
        {"LsuTestSync", "Sync Helper", kServiceOwnProcess, kServiceAutoStart, true, "C:\\Sync\\sync.exe /service", ""});
    backend().seedService({"LsuTestWindows", "Windows Part", kServiceShareProcess, kServiceAutoStart, false,
                           "%SystemRoot%\\system32\\svchost.exe -k LsuTest", program.path});
    auto ownServices = [&](const std::vector<std::string>& args) {
        nlohmann::json own = nlohmann::json::array();
        for (auto& row : nlohmann::json::parse(listed(args)))
            if (row.value("serviceName", "").starts_with("LsuTest"))
                own.push_back({row["serviceName"], row["displayName"], row["startType"], row["delayed"]});
        return own;
    };
    EXPECT_EQ(ownServices({"list", "Services", "--format", "json"}),
              nlohmann::json::parse(R"([["LsuTestWindows", "Windows Part", 2, false],
                                        ["LsuTestSync", "Sync Helper", 2, true]])"));
    EXPECT_EQ(ownServices({"list", "Services", "--format", "json", "--hide-windows"}),
              nlohmann::json::parse(R"([["LsuTestSync", "Sync Helper", 2, true]])"));

    const std::string before = inventory(platform());
    EXPECT_EQ(listed({"disable", "Services", "sync helper"}),
              "Disabled \"LsuTestSync\" in Services\\Automatic (delayed).\n");
    EXPECT_EQ(runTool(platform(), {"delete", "Services", "LsuTestSync", "--yes"}).code, cli::kExitNotOffered);
    EXPECT_EQ(listed({"enable", "Services", "LsuTestSync"}),
              "Enabled \"LsuTestSync\" in Services\\Automatic (delayed).\n");
    EXPECT_EQ(inventory(platform()), before);
    EXPECT_EQ(runTool(platform(), {"disable", "Services", "LsuTestWindows"}).code, cli::kExitRefused);
}

TEST(CliOnARefusingSystem, FailedChangeSaysWhyOnOneStderrLineAndChangesNothing) {
    const std::string kDeviceFailed = "The request could not be performed because of an I/O device error. (error 1117)";
    MemoryPlatform platform;
    seedRegistry(platform, SectionId::UserRun, stringValue("Tool", "tool.exe"));
    platform.failWhen = [](MemoryOp op) { return op == MemoryOp::RegistryWrite; };
    const std::string before = inventory(platform);
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"disable", kUserRun, "Tool"},
         languageText(kTextDisableFailedTitle) + ": " + languageText(kTextDisableFailedPrompt)},
        {{"add", kUserRun, "New", "new.exe"}, std::string(kAddFailedTitle) + ": " + kAddFailedPrompt},
    };
    for (const auto& [args, message] : cases) {
        const CliResult result = runTool(platform, args);
        EXPECT_EQ(result.code, cli::kExitOperationFailed);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, "lstartup-cli: " + message + " " + kDeviceFailed + "\n");
    }
    EXPECT_EQ(inventory(platform), before);
}

TEST(CliOnARefusingSystem, AccessDeniedAsksForAnElevatedPromptWithItsOwnCode) {
    MemoryPlatform platform;
    seedRegistry(platform, SectionId::UserRun, stringValue("Tool", "tool.exe"));
    platform.makeReadOnly(Hive::CurrentUser);
    const std::string before = inventory(platform);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"disable", kUserRun, "Tool"}, {"add", kUserRun, "New", "new.exe"}}) {
        const CliResult result = runTool(platform, args);
        EXPECT_EQ(result.code, cli::kExitNeedsAdministrator) << args.front();
        EXPECT_EQ(result.err, std::string("lstartup-cli: error: ") + cli::kNeedsAdministratorLine + "\n");
    }
    EXPECT_EQ(inventory(platform), before);
}

// A move cut short leaves one entry in both places: enable and disable
// finish it; a delete, and every change to two different entries of one
// name, names both rows and is told which by --live, --parked or --view.
TEST(CliOnTwoEntriesOfOneName, ChoosesByStateOrViewAndFinishesAMoveCutShort) {
    const std::string machineRun = "Registry\\All Users\\Run";
    const std::tuple<std::vector<std::string>, int, std::string, Texts> cases[] = {
        {{"enable", kUserRun, "Twin"},
         cli::kExitOk,
         "Enabled \"Twin\" in Registry\\Current User\\Run.\n",
         {"Twin|Enabled", "Other|Enabled", "Other|Disabled"}},
        {{"disable", kUserRun, "twin"},
         cli::kExitOk,
         "Disabled \"Twin\" in Registry\\Current User\\Run.\n",
         {"Other|Enabled", "Twin|Disabled", "Other|Disabled"}},
        {{"delete", kUserRun, "Twin", "--parked", "--yes"},
         cli::kExitOk,
         "Deleted \"Twin\" from Registry\\Current User\\Run.\n",
         {"Twin|Enabled", "Other|Enabled", "Other|Disabled"}},
        {{"disable", kUserRun, "Other", "--live", "--yes"},
         cli::kExitOk,
         "Disabled \"Other\" in Registry\\Current User\\Run.\n",
         {"Twin|Enabled", "Twin|Disabled", "Other|Disabled"}},
        {{"disable", machineRun, "Legacy", "--view", "32"},
         cli::kExitOk,
         "Disabled \"Legacy\" in Registry\\All Users\\Run.\n",
         {}},
    };
    for (const auto& [args, code, out, after] : cases) {
        SCOPED_TRACE(args.front() + " " + args[2]);
        MemoryPlatform platform;
        seedRegistry(platform, SectionId::UserRun, stringValue("Twin", "C:\\twin.exe"));
        seedRegistry(platform, SectionId::UserRun, stringValue("Other", "C:\\live.exe"));
        seedRegistry(platform, SectionId::UserRun, stringValue("Twin", "C:\\twin.exe"), true);
        seedRegistry(platform, SectionId::UserRun, stringValue("Other", "C:\\parked.exe"), true);
        for (RegistryView view : {RegistryView::Bits64, RegistryView::Bits32})
            seedRegistry(platform, SectionId::MachineRun, stringValue("Legacy", "C:\\legacy.exe"), false, view);
        const CliResult result = runTool(platform, args);
        EXPECT_EQ(result.code, code) << result.err;
        EXPECT_EQ(result.out, out);
        if (after.empty()) {
            EXPECT_FALSE(
                platform.readValue(registryKeyOf(SectionId::MachineRun, false, RegistryView::Bits32), "Legacy"));
            continue;
        }
        Texts rows;
        for (const StartupEntry& row : loadSection(platform, SectionId::UserRun).rows)
            rows.push_back(row.name + "|" + cellText(row, Column::Status));
        EXPECT_EQ(rows, after);
    }
}

TEST(CliOnTwoEntriesOfOneName, SaysWhichRowsItCouldMeanAndHowToChoose) {
    MemoryPlatform platform;
    seedRegistry(platform, SectionId::UserRun, stringValue("Twin", "C:\\twin.exe"));
    seedRegistry(platform, SectionId::UserRun, stringValue("Twin", "C:\\twin.exe"), true);
    seedRegistry(platform, SectionId::UserRun, stringValue("Other", "C:\\live.exe"));
    seedRegistry(platform, SectionId::UserRun, stringValue("Other", "C:\\parked.exe"), true);
    for (RegistryView view : {RegistryView::Bits64, RegistryView::Bits32})
        seedRegistry(platform, SectionId::MachineRun, stringValue("Legacy", "C:\\legacy.exe"), false, view);
    seedRegistry(platform, SectionId::MachineRunOnce, stringValue("Other", "C:\\once.exe"));
    const std::string before = inventory(platform);
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"delete", kUserRun, "Twin", "--yes"},
         "2 entries are named \"Twin\" in Registry\\Current User\\Run: enabled in Registry\\Current User\\Run, "
         "disabled in Registry\\Current User\\Run, the same entry in both places (a move of it was cut short); choose "
         "one with --live or --parked"},
        {{"enable", kUserRun, "Other"},
         "2 entries are named \"Other\" in Registry\\Current User\\Run: enabled in Registry\\Current User\\Run, "
         "disabled in Registry\\Current User\\Run; choose one with --live or --parked"},
        {{"disable", "Registry\\All Users\\Run", "Legacy"},
         "2 entries are named \"Legacy\" in Registry\\All Users\\Run: enabled in Registry\\All Users\\Run (64-bit "
         "view), enabled in Registry\\All Users\\Run (32-bit view); choose one with --view 32 or --view 64"},
        {{"disable", "Registry", "Other", "--live"},
         "2 entries are named \"Other\" in Registry: enabled in Registry\\Current User\\Run, enabled in Registry\\All "
         "Users\\Run Once (64-bit view); choose one with a leaf section that holds only one of them"},
    };
    for (const auto& [args, message] : cases) {
        const CliResult result = runTool(platform, args);
        EXPECT_EQ(result.code, cli::kExitAmbiguousName);
        EXPECT_EQ(result.err, "lstartup-cli: error: " + message + "\n");
    }
    EXPECT_EQ(runTool(platform, {"enable", kUserRun, "Other", "--live", "--parked"}).code, cli::kExitUsage);
    EXPECT_EQ(runTool(platform, {"enable", kUserRun, "Legacy", "--view", "16"}).code, cli::kExitUsage);
    EXPECT_EQ(runTool(platform, {"delete", kUserRun, "Other", "--view", "32", "--parked", "--yes"}).code, cli::kExitOk);
    EXPECT_EQ(runTool(platform, {"delete", kUserRun, "Other", "--parked", "--yes"}).code, cli::kExitEntryNotFound);
    EXPECT_NE(inventory(platform), before);
}

// Held open by another program, the file stays; the tool says why and fails.
TEST(CliOnARefusingSystem, DeleteOfAFileHeldOpenFailsSayingWhy) {
    MemoryPlatform platform;
    const std::string file = platform.shellFolder(ShellFolder::UserStartup) + "\\tool.bat";
    platform.putFile(file, {'x'});
    platform.holdOpen(file);
    const CliResult result = runTool(platform, {"delete", "Startup Folder\\Current User", "tool.bat", "--yes"});
    EXPECT_EQ(result.code, cli::kExitOperationFailed);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find("being used by another process"), std::string::npos) << result.err;
    EXPECT_TRUE(platform.fileExists(file));
}

// A script tells why a change failed from the exit code alone.
TEST(CliExitCodes, NameTheKindOfFailure) {
    const std::pair<ErrorKind, int> cases[] = {{ErrorKind::System, cli::kExitOperationFailed},
                                               {ErrorKind::NotFound, cli::kExitOperationFailed},
                                               {ErrorKind::PartlyDone, cli::kExitOperationFailed},
                                               {ErrorKind::DeclinedByUser, cli::kExitRefused},
                                               {ErrorKind::NoWindowsVolume, cli::kExitNotAWindowsVolume},
                                               {ErrorKind::NoProfile, cli::kExitNoProfile},
                                               {ErrorKind::DirtyHive, cli::kExitDirtyHive},
                                               {ErrorKind::ReadOnlyVolume, cli::kExitReadOnlyVolume},
                                               {ErrorKind::RefusedByPolicy, cli::kExitReadOnlyEntry},
                                               {ErrorKind::NeedsAdministrator, cli::kExitNeedsAdministrator},
                                               {ErrorKind::NotOffered, cli::kExitNotOffered}};
    for (const auto& [kind, code] : cases) EXPECT_EQ(cli::exitCodeFor(kind), code) << static_cast<int>(kind);
}

TEST_F(CliTest, VersionIsAnsweredAmongOtherArgumentsToo) {
    const CliResult result = runTool(platform(), {"--version", "list"});
    EXPECT_EQ(result.code, cli::kExitOk);
    EXPECT_EQ(result.out, cli::kVersionLine);
}

TEST_F(CliTest, HelpDocumentsTheCommandsTheirArgumentsSectionsAndExitCodes) {
    const std::string tool = listed({"--help"});
    for (const char* text :
         {"list", "enable", "disable", "delete", "add", "Exit codes", "ambiguous", "--version", "elevated prompt"})
        EXPECT_NE(tool.find(text), std::string::npos) << text;
    for (const char* command : {"enable", "disable", "delete"})
        for (const char* option : {"--live", "--parked", "--view", "a move was cut"})
            EXPECT_NE(listed({command, "--help"}).find(option), std::string::npos) << command << ": " << option;
    for (const auto& [command, text] : {std::pair{"list", "--format"}, std::pair{"list", "Run Services Once"},
                                        std::pair{"delete", "SECTION TEXT REQUIRED"}, std::pair{"delete", "--yes"},
                                        std::pair{"add", "SECTION TEXT REQUIRED"}})
        EXPECT_NE(listed({command, "--help"}).find(text), std::string::npos) << command << ": " << text;
}

StartupEntry entry(const std::string& name, const std::string& commandLine) {
    StartupEntry row;
    row.name = name;
    row.commandLine = commandLine;
    return row;
}

TEST(CsvFormat, QuotesFieldsWithCommasQuotesOrLineBreaksAndEndsRecordsWithCrLf) {
    EXPECT_EQ(cli::formatCsv({entry("Agent, \"Pro\"", "a.exe\r\n-x"), entry("Früh ✓", "b.exe")}),
              "Name,Command Line,Exists,Section,Status,Type,Publisher,State\r\n"
              "\"Agent, \"\"Pro\"\"\",\"a.exe\r\n-x\",No,Registry\\Current User\\Run,Enabled,Reg,,Enabled\r\n"
              "Früh ✓,b.exe,No,Registry\\Current User\\Run,Enabled,Reg,,Enabled\r\n");
}

TEST(JsonFormat, IsAnArrayOfTheRowsCellsWithBytesThatAreNotUtf8Replaced) {
    EXPECT_EQ(nlohmann::json::parse(cli::formatJson({})), nlohmann::json::array());
    EXPECT_NE(cli::formatJson({entry("Früh ✓", "b.exe")}).find("\"Früh ✓\""), std::string::npos);  // UTF-8, not escaped
    const auto rows =
        nlohmann::json::parse(cli::formatJson({entry("Agent, \"Pro\"", "a.exe\r\n-x"), entry("bad\xFF", "b")}));
    EXPECT_EQ(rows, nlohmann::json::parse(R"([{"name": "Agent, \"Pro\"", "commandLine": "a.exe\r\n-x", "exists": "No",
        "section": "Registry\\Current User\\Run", "status": "Enabled", "type": "Reg", "publisher": "",
        "state": "Enabled", "switchedOff": false, "readOnly": false}, {"name": "bad\uFFFD", "commandLine": "b",
        "exists": "No", "section": "Registry\\Current User\\Run", "status": "Enabled", "type": "Reg",
        "publisher": "", "state": "Enabled", "switchedOff": false, "readOnly": false}])"));
}

// Rows as a machine lists them: long command lines, a maker's name, a
// parked entry, one Windows' own switch keeps off and one group policy sets.
EntryList machineRows() {
    auto row = [](const char* name, const char* commandLine, SectionId leaf, const char* publisher = "") {
        StartupEntry made = entry(name, commandLine);
        std::tie(made.section, made.publisher, made.exists) = std::tuple(leaf, publisher, true);
        return made;
    };
    EntryList rows = {
        row("SecurityHealth", "%windir%\\system32\\SecurityHealthSystray.exe", SectionId::MachineRun,
            "Microsoft Corporation"),
        row("Microsoft Edge Update", "\"C:\\Program Files (x86)\\Microsoft\\EdgeUpdate\\MicrosoftEdgeUpdate.exe\" /c",
            SectionId::UserRun),
        row("Tray Helper", "C:\\Program Files\\Tray Helper\\helper.exe /tray", SectionId::UserRun),
        row("Corporate Agent", "C:\\windows\\notepad.exe", SectionId::UserPolicyRun),
    };
    rows[1].enabled = false;
    rows[2].switchedOff = true;
    return rows;
}

// Where each column of the table starts, by its header.
std::size_t columnStart(const std::string& table, const std::string& header) {
    return linesOf(table).at(0).find(header);
}

TEST(TableFormat, OutsideATerminalEveryColumnAndEveryCellIsWhole) {
    const EntryList rows = machineRows();
    const std::string table = cli::formatTable(rows, cli::kWholeCells);
    const std::vector<std::string> expected = {
        "Name                   Command Line                                                              "
        "Exists  Section                           Publisher              State",
        "SecurityHealth         %windir%\\system32\\SecurityHealthSystray.exe                               "
        "Yes     Registry\\All Users\\Run            Microsoft Corporation  Enabled",
        "Microsoft Edge Update  \"C:\\Program Files (x86)\\Microsoft\\EdgeUpdate\\MicrosoftEdgeUpdate.exe\" /c  "
        "Yes     Registry\\Current User\\Run                                Disabled",
        "Tray Helper            C:\\Program Files\\Tray Helper\\helper.exe /tray                             "
        "Yes     Registry\\Current User\\Run                                Off in Windows settings",
        "Corporate Agent        C:\\windows\\notepad.exe                                                    "
        "Yes     Registry\\Current User\\Policy Run                         Set by policy",
    };
    EXPECT_EQ(linesOf(table), expected);
    // A terminal wide enough for every cell shows the table as a file holds it.
    const int wholeWidth = charactersOf(linesOf(table)[3]);
    EXPECT_EQ(cli::formatTable(rows, wholeWidth), table);
}

// In 80 columns every column still reads, a section by its leaf and a state
// by its start, and the command line takes the rest.
TEST(TableFormat, InATerminalTheCommandLineTakesTheSpareWidthAndTheOtherColumnsStayReadable) {
    const std::vector<std::string> at80 = {
        "Name          Command Line                Exists  Section             State",
        "SecurityHea…  %windir%\\system32\\Securit…  Yes     …try\\All Users\\Run  Enabled",
        "Microsoft E…  \"C:\\Program Files (x86)\\M…  Yes     …\\Current User\\Run  Disabled",
        "Tray Helper   C:\\Program Files\\Tray Hel…  Yes     …\\Current User\\Run  Off in Wi…",
        "Corporate A…  C:\\windows\\notepad.exe      Yes     …t User\\Policy Run  Set by po…",
    };
    EXPECT_EQ(linesOf(cli::formatTable(machineRows(), 80)), at80);
    // Wider, the command line grows first; the name, section and state grow
    // whole after it; then the command line takes the rest.
    std::size_t commandWidth = 0;
    for (int width : {80, 100, 120, 140, 160}) {
        const std::string table = cli::formatTable(machineRows(), width);
        for (const std::string& line : linesOf(table)) EXPECT_LE(charactersOf(line), width) << line;
        const std::size_t shown = columnStart(table, "Exists") - columnStart(table, "Command Line") - 2;
        EXPECT_GE(shown, commandWidth) << width;
        commandWidth = shown;
    }
    const std::string at120 = cli::formatTable(machineRows(), 120);
    for (const char* whole : {"Registry\\Current User\\Run ", "Off in Windows set…", "Tray Helper "})
        EXPECT_NE(at120.find(whole), std::string::npos) << whole;
    EXPECT_NE(cli::formatTable(machineRows(), 145).find("helper.exe /tray "), std::string::npos);
}

TEST(TableFormat, APublisherIsShownOnlyInTheRoomTheOtherColumnsLeave) {
    const int wholeWidth = charactersOf(linesOf(cli::formatTable(machineRows(), cli::kWholeCells))[3]);
    const std::pair<int, std::string> cases[] = {
        {wholeWidth, "Microsoft Corporation  Enabled"},
        {wholeWidth - 11, "Microsoft…  Enabled"},
        {wholeWidth - 12, "Registry\\All Users\\Run            Enabled"},
        {80, "…try\\All Users\\Run  Enabled"},
    };
    for (const auto& [width, ending] : cases) {
        const auto lines = linesOf(cli::formatTable(machineRows(), width));
        EXPECT_TRUE(lines.at(1).ends_with(ending)) << width << ": " << lines[1];
        EXPECT_EQ(lines[0].find("Publisher") != std::string::npos, ending.starts_with("Microsoft")) << width;
    }
}

TEST(TableFormat, CellsAreCutBetweenCharactersAndWideOnesTakeTwoCells) {
    const EntryList rows = {
        entry("ÄÖÜäöü ÄÖÜäöü", "C:\\Program Files\\Vendor\\Product\\bin\\tool.exe --many --options"),
        entry("Lines", "line one\r\nline two")};
    for (int width : {80, 76}) {
        for (const std::string& line : linesOf(cli::formatTable(rows, width))) {
            EXPECT_LE(charactersOf(line), width) << line;
            EXPECT_NO_THROW(nlohmann::json(line).dump()) << "a cut must leave whole characters";
        }
    }
    const auto cut = linesOf(cli::formatTable(rows, 76));
    EXPECT_EQ(cut.at(1), "ÄÖÜäöü ÄÖÜä…  C:\\Program Files\\Vendor\\…  No      …\\Current User\\Run  Enabled");
    EXPECT_EQ(cut.at(2), "Lines         line one  line two         No      …\\Current User\\Run  Enabled");
    // Wide characters take two cells of the console, combining marks none.
    const auto aligned = linesOf(cli::formatTable({entry("\xE4\xB8\xAD\xE6\x96\x87\xF0\x9F\x98\x80", "x.exe"),
                                                   entry("e\xCC\x81", "x.exe"), entry("abcdef", "x.exe")},
                                                  cli::kWholeCells));
    EXPECT_TRUE(aligned.at(1).starts_with("\xE4\xB8\xAD\xE6\x96\x87\xF0\x9F\x98\x80  x.exe")) << aligned[1];
    EXPECT_TRUE(aligned.at(2).starts_with("e\xCC\x81       x.exe")) << aligned[2];
    EXPECT_TRUE(aligned.at(3).starts_with("abcdef  x.exe") && aligned[3].ends_with("  Enabled")) << aligned[3];
    // The end of a text kept after a cut never starts with a combining mark.
    EXPECT_EQ(cli::suffixFitting("abe\xCC\x81z", 1), 5u);
    EXPECT_EQ(cli::suffixFitting("ab\xE4\xB8\xADz", 2), 5u);
}

// The cells a terminal draws: two for East Asian wide characters and emoji,
// from the first character of their blocks to the last, none for combining
// marks, and one for each byte that does not start a whole character.
TEST(DisplayWidth, EachCharacterTakesTheCellsATerminalDrawsItIn) {
    const std::pair<std::string_view, int> cases[] = {
        {"a", 1},
        {"\xE1\x84\x80", 2},      // U+1100, the first of the wide Hangul Jamo
        {"\xE1\x85\x9F", 2},      // U+115F, the last of them
        {"\xE1\x85\xA0", 1},      // U+1160, the first after them
        {"\xE4\xB8\xAD", 2},      // U+4E2D
        {"\xF0\x9F\x98\x80", 2},  // U+1F600
        {"e\xCC\x81", 1},         // e and U+0301 drawn over it
        {"\xC3\xA9", 1},          // U+00E9
        {"\x80", 1},
        {"\xE4\xB8", 2},
    };
    for (const auto& [text, cells] : cases) EXPECT_EQ(cli::displayWidth(text), cells) << text;
}

// Below the least width of every column a terminal wraps the line rather
// than the table cutting a cell past reading.
TEST(TableFormat, BelowEveryColumnsLeastWidthTheTerminalWrapsTheLine) {
    const auto lines = linesOf(cli::formatTable(machineRows(), 40));
    EXPECT_EQ(lines.at(3), "Tray Helper   C:\\Program Files\\Tray H…  Yes     …\\Current User\\Run  Off in Wi…");
}

}  // namespace
}  // namespace lsu::test
