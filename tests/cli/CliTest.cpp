#include <nlohmann/json.hpp>

#include <algorithm>

#include "cli/CliHarness.h"
#include "cli/ExitCodes.h"
#include "platform/memory/MemoryPlatform.h"
#include "ui/logic/ChangeMessages.h"
#include "ui/logic/LanguageTable.h"

namespace lsu::test {
namespace {

constexpr const char* kUserRun = "Registry\\Current User\\Run";

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

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
    };
    for (const auto& [args, code] : cases) {
        const CliResult result = runTool(platform(), args);
        EXPECT_EQ(result.code, code) << args.front() << ": " << result.err;
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
        EXPECT_TRUE(result.err.starts_with("lstartup-cli: error: ")) << result.err;
        EXPECT_EQ(inventory(platform()), before) << args.front();
    }
    EXPECT_EQ(runTool(platform(), {"frobnicate"}).err, "lstartup-cli: error: unknown command \"frobnicate\" (commands: "
                                                        "list, enable, disable, delete, add; see --help)\n");
    EXPECT_EQ(runTool(platform(), {"delete", kUserRun, "Tool"}).err,
              "lstartup-cli: error: refused: Are you sure to delete the selected item? This action can not be undone."
              " Give --yes to answer Yes.\n");
}

TEST(CliOnARefusingSystem, FailedChangeSaysWhyOnOneStderrLineAndChangesNothing) {
    MemoryPlatform platform;
    seedRegistry(platform, SectionId::UserRun, stringValue("Tool", "tool.exe"));
    platform.makeReadOnly(Hive::CurrentUser);
    const std::string before = inventory(platform);
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"disable", kUserRun, "Tool"}, languageText(kTextDisableFailedTitle) + ": " + languageText(kTextDisableFailedPrompt)},
        {{"add", kUserRun, "New", "new.exe"}, std::string(kAddFailedTitle) + ": " + kAddFailedPrompt},
    };
    for (const auto& [args, message] : cases) {
        const CliResult result = runTool(platform, args);
        EXPECT_EQ(result.code, cli::kExitOperationFailed);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, "lstartup-cli: " + message + " Access is denied. (error 5)\n");
    }
    EXPECT_EQ(inventory(platform), before);
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
                                               {ErrorKind::RefusedByPolicy, cli::kExitReadOnlyEntry}};
    for (const auto& [kind, code] : cases) EXPECT_EQ(cli::exitCodeFor(kind), code) << static_cast<int>(kind);
}

TEST_F(CliTest, HelpDocumentsTheCommandsTheirArgumentsSectionsAndExitCodes) {
    const std::string tool = listed({"--help"});
    for (const char* text : {"list", "enable", "disable", "delete", "add", "Exit codes", "ambiguous"})
        EXPECT_NE(tool.find(text), std::string::npos) << text;
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
    const auto rows = nlohmann::json::parse(cli::formatJson({entry("Agent, \"Pro\"", "a.exe\r\n-x"), entry("bad\xFF", "b")}));
    EXPECT_EQ(rows, nlohmann::json::parse(R"([{"name": "Agent, \"Pro\"", "commandLine": "a.exe\r\n-x", "exists": "No",
        "section": "Registry\\Current User\\Run", "status": "Enabled", "type": "Reg", "publisher": "",
        "state": "Enabled", "switchedOff": false, "readOnly": false}, {"name": "bad\uFFFD", "commandLine": "b",
        "exists": "No", "section": "Registry\\Current User\\Run", "status": "Enabled", "type": "Reg",
        "publisher": "", "state": "Enabled", "switchedOff": false, "readOnly": false}])"));
}

TEST(TableFormat, FitsTheTerminalCuttingTheCommandLineFirstAndCellsAtCharacterBoundaries) {
    const EntryList rows = {entry("ÄÖÜäöü ÄÖÜäöü", "C:\\Program Files\\Vendor\\Product\\bin\\tool.exe --many --options"),
                            entry("Lines", "line one\r\nline two")};
    for (int width : {80, 60}) {
        for (const std::string& line : linesOf(cli::formatTable(rows, width))) {
            EXPECT_LE(std::count_if(line.begin(), line.end(), [](char c) { return (c & 0xC0) != 0x80; }), width) << line;
            EXPECT_NO_THROW(nlohmann::json(line).dump()) << "a cut must leave whole characters";
        }
    }
    const auto wide = linesOf(cli::formatTable(rows, 80));
    EXPECT_TRUE(wide[1].starts_with("ÄÖÜäöü ÄÖÜäöü  C:\\Program \xE2\x80\xA6  No      Registry\\")) << wide[1];
    EXPECT_TRUE(wide.at(2).starts_with("Lines          line one  l\xE2\x80\xA6")) << wide[2];
    EXPECT_TRUE(linesOf(cli::formatTable(rows, 60))[1].starts_with("ÄÖÜäöü \xE2\x80\xA6"));
    // Wide characters take two cells of the console, combining marks none.
    const auto aligned = linesOf(cli::formatTable({entry("\xE4\xB8\xAD\xE6\x96\x87\xF0\x9F\x98\x80", "x.exe"),
                                                   entry("e\xCC\x81", "x.exe"), entry("abcdef", "x.exe")}, 200));
    EXPECT_TRUE(aligned.at(1).starts_with("\xE4\xB8\xAD\xE6\x96\x87\xF0\x9F\x98\x80  x.exe")) << aligned[1];
    EXPECT_TRUE(aligned.at(2).starts_with("e\xCC\x81       x.exe")) << aligned[2];
    EXPECT_TRUE(aligned.at(3).starts_with("abcdef  x.exe") && aligned[3].ends_with("  Enabled")) << aligned[3];
    // Below its least width a column no longer gives way; the terminal wraps the line.
    EXPECT_TRUE(linesOf(cli::formatTable(rows, 40))[1].starts_with("ÄÖÜäöü \xE2\x80\xA6  C:\\Progra"));
}

}  // namespace
}  // namespace lsu::test
