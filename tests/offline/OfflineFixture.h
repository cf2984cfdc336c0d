#pragma once
// What the offline suite builds its Windows volumes from: an NTFS file
// system in an image file mounted with ntfs-3g (so that attributes and
// exact-case names behave as on a real mount), hive files made from an empty
// hive and filled through hivex, and the programs it runs.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/offline/OfflinePlatform.h"
#include "support/Backend.h"

namespace lsu::test {

struct ProcessResult {
    int code = -1;
    std::string out;  // what it wrote to stdout and stderr
};
ProcessResult runProcess(const std::vector<std::string>& argv, bool capture = true);
// The real lstartup-cli for Linux on the tree.
ProcessResult runTool(const std::string& tree, const std::vector<std::string>& args);

class NtfsVolume {
public:
    explicit NtfsVolume(std::size_t megabytes = 64);
    ~NtfsVolume();
    NtfsVolume(const NtfsVolume&) = delete;
    NtfsVolume& operator=(const NtfsVolume&) = delete;
    const std::string& mountPoint() const { return mountPoint_; }
    void remount(bool readOnly);

private:
    std::string folder_, image_, mountPoint_;
};
// The volume the whole suite works on, mounted once.
NtfsVolume& suiteVolume();

struct HiveEntry {
    std::string key, name;
    std::uint32_t type = kRegSz;
    std::vector<std::uint8_t> data;
};
HiveEntry stringEntry(const std::string& key, const std::string& name, const std::string& text,
                      std::uint32_t type = kRegSz);
void fillHive(const std::string& path, const std::vector<HiveEntry>& entries);
// A value's bytes exactly as the hive holds them.
std::vector<std::uint8_t> storedBytes(const std::string& hive, const std::string& key, const std::string& name);
std::vector<std::uint8_t> fileBytes(const std::string& path);
void putBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

// Every file, folder and link below the folder by its relative path, with a
// digest of a file's bytes and a link's target: what a refusal must leave as
// it was.
std::map<std::string, std::string> snapshotOf(const std::string& folder);

// A fresh tree of a 64-bit Windows below the folder: SOFTWARE, SYSTEM, the
// profile "Tester" with its classes hive, win.ini, both Startup folders and
// the program folder.
std::string makeWindowsTree(const std::string& parent);
inline const char* kSoftwareHive = "/Windows/System32/config/SOFTWARE";
inline const char* kUserHive = "/Users/Tester/NTUSER.DAT";
inline const char* kClassesHive = "/Users/Tester/AppData/Local/Microsoft/Windows/UsrClass.dat";
// Its SYSTEM hive starts from ControlSet002, as after a start with the last
// known good configuration, so that a reader assuming ControlSet001 fails.
inline const char* kSystemHive = "/Windows/System32/config/SYSTEM";

// A fresh Windows tree of its own on the suite's volume, and the platform
// over it: the backend the contract runs on.
class OfflineBackend : public Backend {
public:
    OfflineBackend();
    const std::string& tree() const { return tree_; }
    const ScanPorts& ports() override { return ports_; }
    // As the program writes links.
    void seedShortcut(const std::string& path, const ShortcutFields& fields) override;
    // hivex writes value names through iconv, which refuses an unpaired surrogate.
    bool storesEveryValueName() const override { return false; }

private:
    std::string tree_;
    std::unique_ptr<offline::OfflinePlatform> platform_;
    ScanPorts ports_;
};

}  // namespace lsu::test
