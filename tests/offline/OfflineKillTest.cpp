// The tool stopped dead while it writes a large hive: the hive on disk is
// always whole, the old one or the new one of each write (a move stopped
// between its two writes holds the entry in both places), and the next run
// finds no temporary file of the stopped one and no backup cut short under a
// backup's name.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "cli/ExitCodes.h"
#include "offline/HiveSurgery.h"
#include "offline/OfflineFixture.h"

namespace lsu::test {
namespace {

namespace fs = std::filesystem;

const std::string kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kUserRun = "Registry\\Current User\\Run";
// The calls a run may be stopped at: every one that writes, flushes, renames or removes a file.
const std::string kStopPoints = "write,fsync,rename,renameat,renameat2,unlinkat";

std::vector<std::string> toolCommand(const std::string& tree, const std::string& command) {
    return {LSU_CLI_PATH, "--offline", tree, command, kUserRun, "Tool"};
}

// The run under strace, each stop point written to the log, or the run
// killed at the stop point numbered when.
ProcessResult tracedRun(const std::vector<std::string>& command, const std::string& log, int when) {
    // LeakSanitizer cannot work under a tracer, and would fail a sanitized run that was never stopped.
    const char* options = std::getenv("ASAN_OPTIONS");
    std::vector<std::string> argv = {
        "env",    "ASAN_OPTIONS=" + std::string(options ? options : "") + ":detect_leaks=0",
        "strace", "-f",
        "-o",     log,
        "-e",     "trace=" + kStopPoints};
    if (when > 0) {
        argv.push_back("-e");
        argv.push_back("inject=" + kStopPoints + ":signal=KILL:when=" + std::to_string(when));
    }
    argv.insert(argv.end(), command.begin(), command.end());
    return runProcess(argv);
}

TEST(OfflineKills, StoppedWriteLeavesTheHiveWholeAndTheNextRunClean) {
    NtfsVolume volume(256);
    const std::string tree = makeWindowsTree(volume.mountPoint());
    const std::string hive = tree + kUserHive;
    const fs::path folder = fs::path(hive).parent_path();
    fillHive(hive, {stringEntry(kRun, "Tool", "C:\\Tools\\tool.exe")});
    std::vector<HiveEntry> filler;
    for (int i = 0; i < 260; ++i)
        filler.push_back({"", "v" + std::to_string(i), kRegBinary, std::vector<std::uint8_t>(16000, std::uint8_t(i))});
    fillKeyAtOnce(hive, "Software\\Filler", filler);
    ASSERT_GT(fs::file_size(hive), 4u << 20);
    ASSERT_EQ(runTool(tree, {"list"}).code, cli::kExitOk);

    const std::string log = volume.mountPoint() + "/../stop-points.log";
    ASSERT_EQ(tracedRun(toolCommand(tree, "disable"), log, 0).code, cli::kExitOk);
    int stopPoints = 0;
    std::ifstream lines(log);
    for (std::string line; std::getline(lines, line);) stopPoints += line.find(" = ") != std::string::npos;
    ASSERT_EQ(runTool(tree, {"enable", kUserRun, "Tool"}).code, cli::kExitOk);
    const auto live = fileBytes(hive);

    for (int when = 1; when <= stopPoints; ++when) {
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.path().filename().string().find(".lstartup-backup-") != std::string::npos) fs::remove(entry);
        const bool wasLive = !storedBytes(hive, kRun, "Tool").empty();
        const auto before = fileBytes(hive);
        tracedRun(toolCommand(tree, wasLive ? "disable" : "enable"), "/dev/null", when);

        const bool inRun = !storedBytes(hive, kRun, "Tool").empty();
        const bool parked = !storedBytes(hive, kRun + "-", "Tool").empty();
        EXPECT_TRUE(inRun || parked) << "stopped at " << when;
        ASSERT_EQ(runTool(tree, {"list"}).code, cli::kExitOk) << "stopped at " << when;
        for (const auto& entry : fs::directory_iterator(folder)) {
            const std::string name = entry.path().filename().string();
            EXPECT_FALSE(name.starts_with(".")) << name << " left after a stop at " << when;
            if (name.find(".lstartup-backup-") != std::string::npos) {
                EXPECT_EQ(fileBytes(entry.path()), before) << name << " after a stop at " << when;
            }
        }
        // Finishing a move stopped half-way is not this test's matter: it starts the next from one place.
        if (inRun && parked) putBytes(hive, live);
    }
}

}  // namespace
}  // namespace lsu::test
