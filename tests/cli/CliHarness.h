#pragma once
// Drives lstartup-cli in-process and reads back what a script would see.

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "cli/EntryFormats.h"
#include "cli/RunCli.h"
#include "scanners/SectionLoading.h"
#include "support/Backend.h"
#include "support/Seed.h"

namespace lsu::test {

struct CliResult {
    int code = -1;
    std::string out;
    std::string err;
};

inline CliResult runTool(const ScanPorts& platform, const std::vector<std::string>& args, int terminalWidth = 200) {
    std::ostringstream out, err;
    const int code = cli::runCli(platform, "lstartup-cli", args, out, err, terminalWidth);
    return {code, out.str(), err.str()};
}

inline std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The characters of UTF-8 text: the cells it takes when none is wide.
inline int charactersOf(const std::string& text) {
    return static_cast<int>(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

// Every entry of every section, enabled and parked: what a change would alter.
inline std::string inventory(const ScanPorts& platform) {
    return cli::formatCsv(loadSection(platform, SectionId::AllPrograms).rows);
}

// A clean platform with entries of each kind, enabled and parked, in the
// registry, win.ini and both Startup folders, some with commas, quotes,
// line breaks and letters beyond ASCII in their texts.
class MixedInventoryTest : public ::testing::Test {
protected:
    MixedInventoryTest() {
        using enum SectionId;
        const ScanPorts& system = platform();
        seedRegistry(system, UserRun, stringValue("Tool", "C:\\Tools\\tool.exe /quiet"));
        seedRegistry(system, UserRun, stringValue("Parked", "parked.exe"), true);
        seedRegistry(system, MachineRun, stringValue("Agent, \"Pro\"", "\"C:\\A B\\agent.exe\" -x,y"));
        seedRegistry(system, MachineRun, stringValue("Lines", "line one\r\nline two"));
        seedRegistry(system, MachineRunOnce, stringValue("Früh ✓", "C:\\früh.exe"));
        seedWinIni(system, WinIniLoad, "C:\\old\\load.exe");
        seedWinIni(system, WinIniRun, "C:\\old\\run.exe", true);
        ShortcutFields link;
        link.targetPath = "C:\\Tools\\link.exe";
        backend_->seedShortcut(startupFolder(system, StartupCurrentUser) + "\\Linked.lnk", link);
        expectDone(
            system.files.writeFile(startupFolder(system, StartupAllUsers, true) + "\\sleepy.cmd", {'e', 'x', 'i', 't'}),
            "seeding sleepy.cmd");
    }
    const ScanPorts& platform() { return backend_->ports(); }
    Backend& backend() { return *backend_; }

private:
    std::unique_ptr<Backend> backend_ = makeCleanBackend();
};

}  // namespace lsu::test
