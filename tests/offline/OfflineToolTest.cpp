// The Linux tool on an offline tree, end to end: what it changes comes back
// byte for byte, every hive it writes parses in libregf's reader, and what it
// must not change it refuses with nothing changed.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "cli/ExitCodes.h"
#include "offline/OfflineFixture.h"
#include "platform/formats/HiveHeader.h"
#include "platform/formats/LittleEndian.h"

namespace lsu::test {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

const std::string kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kUserRun = "Registry\\Current User\\Run";
const std::string kLinkFolder = "/Users/Tester/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Startup";
const std::string kCommonStartup = "/ProgramData/Microsoft/Windows/Start Menu/Programs/Startup";
const std::string kGreekName = "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC \xE2\x9C\x93";

class OfflineTool : public ::testing::Test {
protected:
    std::string tree = makeWindowsTree(suiteVolume().mountPoint());

    void SetUp() override {
        fillHive(
            tree + kUserHive,
            {stringEntry(kRun, "Expand", "%SystemRoot%\\system32\\notepad.exe", kRegExpandSz),
             stringEntry(kRun, kGreekName, "C:\\Tools\\greek.exe"),
             {kRun, "Typed", 0x12345678, {'C', ':', '\\', 't', 0}},  // a type the registry keeps as any other
             stringEntry("Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows", "Load", "C:\\Tools\\tray.exe")});
        fillHive(tree + kSoftwareHive, {stringEntry("Wow6432Node\\" + kRun.substr(9), "Wow", "C:\\Tools\\wow.exe")});
    }
    ProcessResult tool(const std::vector<std::string>& args) { return runTool(tree, args); }
    // What each backup of the hive holds.
    std::vector<Bytes> backupsOf(const std::string& hive) {
        std::vector<Bytes> found;
        for (const auto& entry : fs::directory_iterator(fs::path(tree + hive).parent_path()))
            if (entry.path().filename().string().starts_with(fs::path(hive).filename().string() + ".lstartup-backup-"))
                found.push_back(fileBytes(entry.path()));
        return found;
    }
};

TEST_F(OfflineTool, DisableAndEnableGiveBackTheExactBytes) {
    ASSERT_EQ(tool({"add", "Startup Folder\\Current User", "Notes", "C:\\Tools\\notes.exe"}).code, cli::kExitOk);
    // Where each entry's bytes stand: a value of a hive, or (no hive) the file at the key.
    const auto stored = [&](const char* hive, const std::string& key, const std::string& value) {
        return hive ? storedBytes(tree + hive, key, value) : fileBytes(tree + key);
    };
    const std::tuple<std::string, std::string, const char*, std::string, std::string> cases[] = {
        {kUserRun, "Expand", kUserHive, kRun, "Expand"},
        {kUserRun, kGreekName, kUserHive, kRun, kGreekName},
        {kUserRun, "Typed", kUserHive, kRun, "Typed"},
        {"Registry\\All Users\\Run", "Wow", kSoftwareHive, "Wow6432Node\\" + kRun.substr(9), "Wow"},
        {"Startup Folder\\Current User", "Notes", nullptr, kLinkFolder + "/Notes.lnk", ""},
        {"Win.ini\\Load", "tray", kUserHive, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows", "Load"},
    };
    for (const auto& [section, name, hive, key, value] : cases) {
        const auto before = stored(hive, key, value);
        ASSERT_FALSE(before.empty()) << name;
        ProcessResult disabled = tool({"disable", section, name});
        ASSERT_EQ(disabled.code, cli::kExitOk) << name << disabled.out;
        EXPECT_NE(tool({"list", section, "--format", "csv"}).out.find(",Disabled,"), std::string::npos);
        ProcessResult enabled = tool({"enable", section, name});
        ASSERT_EQ(enabled.code, cli::kExitOk) << name << enabled.out;
        EXPECT_EQ(stored(hive, key, value), before) << name;
        if (!hive) continue;
        const ProcessResult exported = runProcess({"regfexport", tree + hive});
        EXPECT_EQ(exported.code, 0) << exported.out;
        EXPECT_NE(exported.out.find(name), std::string::npos) << name;
    }
}

// The offline tool keeps its journal in the profile, where the window of the
// next start finds it, and undoes from it what it changed.
TEST_F(OfflineTool, HistoryAndUndoWorkOnTheVolume) {
    const auto before = storedBytes(tree + kUserHive, kRun, "Expand");
    ASSERT_EQ(tool({"disable", kUserRun, "Expand"}).code, cli::kExitOk);
    EXPECT_TRUE(fs::is_regular_file(tree + "/Users/Tester/AppData/Local/LStartUp/journal.jsonl"));
    const ProcessResult undone = tool({"undo"});
    ASSERT_EQ(undone.code, cli::kExitOk) << undone.out;
    EXPECT_EQ(storedBytes(tree + kUserHive, kRun, "Expand"), before);
    const auto lines = tool({"history", "--format", "csv"}).out;
    EXPECT_NE(lines.find(",Disable,Expand,Registry\\Current User\\Run,lstartup-cli --offline,Done\r\n"),
              std::string::npos)
        << lines;
    EXPECT_NE(lines.find(",Undo of 1,Expand,"), std::string::npos) << lines;
    EXPECT_EQ(tool({"undo", "1"}).code, cli::kExitUndoRefused);
}

// Sequence numbers set apart, or a log entry from the hive's last write on.
void markDirty(const std::string& hive, bool inLog) {
    formats::LittleEndianWriter file, log;
    file.append(fileBytes(hive));
    const std::uint32_t sequence = *formats::readLe32(file.bytes(), 8);
    log.append(std::span(file.bytes()).first(512));
    for (std::uint32_t field : {0x454C7648u, 512u, 0u, sequence}) log.u32(field);
    log.zeros(512 - 16);
    if (inLog) return putBytes(hive + ".LOG1", log.bytes());
    file.patch32(4, sequence + 1);
    file.patch32(formats::kChecksumOffset, formats::baseBlockChecksum(file.bytes()));
    putBytes(hive, file.bytes());
}

// Refused, a dirty hive stays byte-identical; forced, its first write keeps
// it as it was beside it, and leaves the hives it does not write alone.
TEST_F(OfflineTool, DirtyHiveRefusesWritesUnlessForcedAndIsBackedUpFirst) {
    for (bool inLog : {false, true}) {
        markDirty(tree + kUserHive, inLog);
        const auto before = fileBytes(tree + kUserHive);
        const ProcessResult refused = tool({"disable", kUserRun, "Expand"});
        EXPECT_EQ(refused.code, cli::kExitDirtyHive) << refused.out;
        EXPECT_NE(refused.out.find("--force-dirty"), std::string::npos) << refused.out;
        EXPECT_EQ(fileBytes(tree + kUserHive), before);
        EXPECT_TRUE(backupsOf(kUserHive).empty());
        EXPECT_EQ(tool({"list"}).code, cli::kExitOk);
    }
    const auto dirty = fileBytes(tree + kUserHive);
    EXPECT_EQ(tool({"--force-dirty", "disable", kUserRun, "Expand"}).code, cli::kExitOk);
    EXPECT_EQ(backupsOf(kUserHive), std::vector<Bytes>{dirty});
    EXPECT_TRUE(backupsOf(kSoftwareHive).empty());
}

// A FIFO never ends and a device never is a file: neither is read, and the
// listing goes on without them.
TEST_F(OfflineTool, SpecialFilesWhereFilesAreExpectedAreNotWaitedFor) {
    fs::remove(tree + "/Windows/win.ini");
    for (const std::string& fifo : {tree + "/Windows/win.ini", tree + kUserHive + ".LOG1"})
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0) << fifo;
    const ProcessResult listed = tool({"list", "--format", "csv"});
    EXPECT_EQ(listed.code, cli::kExitOk) << listed.out;
    EXPECT_NE(listed.out.find("Expand"), std::string::npos) << listed.out;
}

TEST(OfflineVolume, ReadOnlyMountRefusesWritesBeforeChangingAnything) {
    NtfsVolume volume;
    const std::string tree = makeWindowsTree(volume.mountPoint());
    fillHive(tree + kUserHive, {stringEntry(kRun, "Tool", "C:\\Tools\\tool.exe")});
    volume.remount(true);
    const auto before = fileBytes(tree + kUserHive);
    const ProcessResult refused = runTool(tree, {"disable", kUserRun, "Tool"});
    EXPECT_EQ(refused.code, cli::kExitReadOnlyVolume) << refused.out;
    EXPECT_NE(refused.out.find("read-only"), std::string::npos) << refused.out;
    EXPECT_EQ(fileBytes(tree + kUserHive), before);
    EXPECT_EQ(runTool(tree, {"list", kUserRun}).code, cli::kExitOk);
}

TEST_F(OfflineTool, ProfileIsTheOnlyUserWithAHive) {
    for (const char* profile : {"/Users/Default", "/Users/Second"}) {
        fs::create_directories(tree + profile);
        fs::copy_file(tree + kUserHive, tree + profile + "/ntuser.dat");
    }
    const ProcessResult ambiguous = tool({"list"});
    EXPECT_EQ(ambiguous.code, cli::kExitNoProfile);
    EXPECT_NE(ambiguous.out.find("Second, Tester"), std::string::npos) << ambiguous.out;
    EXPECT_EQ(tool({"--user", "tester", "list"}).code, cli::kExitOk);
    EXPECT_EQ(tool({"--user", "Nobody", "list"}).code, cli::kExitNoProfile);
    EXPECT_EQ(runTool(tree + "/Users", {"list"}).code, cli::kExitNotAWindowsVolume);
}

TEST_F(OfflineTool, ParkingAnItemOfAllUsersNeedsAProgramFolder) {
    fs::remove_all(tree + "/Program Files/LStartUp");
    std::ofstream(tree + kCommonStartup + "/sync.bat") << "@echo off\r\n";
    const ProcessResult refused = tool({"disable", "Startup Folder\\All Users", "sync.bat"});
    EXPECT_EQ(refused.code, cli::kExitOperationFailed);
    EXPECT_NE(refused.out.find("--program-folder"), std::string::npos) << refused.out;
    EXPECT_TRUE(fs::exists(tree + kCommonStartup + "/sync.bat"));
    EXPECT_EQ(tool({"disable", kUserRun, "Expand"}).code, cli::kExitOk);

    const std::string elsewhere = suiteVolume().mountPoint() + "/parked-" + fs::path(tree).filename().string();
    fs::create_directory(elsewhere);
    EXPECT_EQ(tool({"--program-folder", elsewhere, "disable", "Startup Folder\\All Users", "sync.bat"}).code,
              cli::kExitOk);
    EXPECT_TRUE(fs::exists(elsewhere + "/Startup Folder/All Users/sync.bat"));
}

// Each profile's parked Startup items stand in that profile's own folder:
// one user never sees, nor moves, another's.
TEST_F(OfflineTool, ParkedStartupItemsBelongToTheirProfile) {
    const std::string second = "/Users/Second";
    fs::create_directories(tree + second + "/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Startup");
    fs::create_directories(tree + second + "/AppData/Local");
    fs::copy_file(tree + kUserHive, tree + second + "/NTUSER.DAT");
    std::ofstream(tree + kLinkFolder + "/sync.bat") << "@echo off\r\n";

    EXPECT_EQ(tool({"--user", "Tester", "disable", "Startup Folder\\Current User", "sync.bat"}).code, cli::kExitOk);
    EXPECT_TRUE(fs::exists(tree + "/Users/Tester/AppData/Local/LStartUp/Startup Folder/Current User/sync.bat"));
    const ProcessResult seen = tool({"--user", "Second", "list", "Startup Folder\\Current User"});
    EXPECT_EQ(seen.code, cli::kExitOk);
    EXPECT_EQ(seen.out.find("sync.bat"), std::string::npos) << seen.out;
    EXPECT_EQ(tool({"--user", "Second", "enable", "Startup Folder\\Current User", "sync.bat"}).code,
              cli::kExitEntryNotFound);
    EXPECT_NE(tool({"--user", "Tester", "list", "Startup Folder\\Current User"}).out.find("sync.bat"),
              std::string::npos);
}

}  // namespace
}  // namespace lsu::test
