#include "cli/CliHarness.h"

#include <sstream>

#include "catalog/Sections.h"
#include "cli/RunCli.h"
#include "scanners/SectionLoading.h"
#include "support/Seed.h"

namespace lsu::test {

CliResult runTool(Platform& platform, const std::vector<std::string>& args, int terminalWidth) {
    std::ostringstream out, err;
    CliResult result;
    result.code = cli::runCli(platform, args, out, err, terminalWidth);
    result.out = out.str();
    result.err = err.str();
    return result;
}

std::vector<std::vector<std::string>> fieldsOf(const EntryList& rows) {
    std::vector<std::vector<std::string>> fields;
    for (const StartupEntry& row : rows)
        fields.push_back({row.Name, row.CommandLine, row.Exists, row.Section, row.Status, row.Type});
    return fields;
}

std::vector<std::vector<std::string>> inventory(Platform& platform) {
    return fieldsOf(loadPrograms(platform, kRootSectionKey).rows);
}

void seedMixedInventory(Backend& backend) {
    Platform& platform = backend.platform();
    seedRegistry(platform, "Registry\\Current User\\Run", stringValue("Tool", "C:\\Tools\\tool.exe /quiet"));
    seedRegistry(platform, "Registry\\Current User\\Run", stringValue("Parked", "parked.exe"), true);
    seedRegistry(platform, "Registry\\All Users\\Run", stringValue("Agent, \"Pro\"", "\"C:\\A B\\agent.exe\" -x,y"));
    seedRegistry(platform, "Registry\\All Users\\Run Once", stringValue("Früh ✓", "C:\\früh.exe"));
    seedWinIni(platform, "Load", "C:\\old\\load.exe");
    seedWinIni(platform, "Run", "C:\\old\\run.exe", true);
    ShortcutFields fields;
    fields.targetPath = "C:\\Tools\\link.exe";
    backend.seedShortcut(startupFolder(platform, kStartupCurrentUser) + "\\Linked.lnk", fields);
    platform.writeFile(startupFolder(platform, kStartupAllUsers, true) + "\\sleepy.cmd", {'e', 'x', 'i', 't'});
}

std::vector<std::vector<std::string>> parseCsv(const std::string& text) {
    std::vector<std::vector<std::string>> records;
    std::vector<std::string> record;
    std::string field;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            record.push_back(std::move(field));
            field.clear();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            record.push_back(std::move(field));
            field.clear();
            records.push_back(std::move(record));
            record.clear();
            ++i;
        } else {
            field += c;
        }
    }
    return records;
}

}  // namespace lsu::test
