#pragma once
// The platform over a Windows that is not running: its volume mounted on
// Linux, HKEY_LOCAL_MACHINE from its SOFTWARE and SYSTEM hives (the control
// set Windows last started with standing for CurrentControlSet, and the
// services read from their keys there), HKEY_CURRENT_USER from one
// profile's NTUSER.DAT and its Software\Classes from the profile's
// UsrClass.dat, the scheduled tasks from the SOFTWARE hive's task cache and
// the definitions beside it, win.ini's [windows] section where Windows NT
// maps it (the key Windows NT\CurrentVersion\Windows of that profile's
// Software) and the rest of win.ini as a file. The core keeps speaking
// the offline system's paths; each is found on the mount ignoring case.
// Every change is refused, with nothing changed, on a volume mounted
// read-only and in a hive that was not shut down cleanly.

#include <memory>
#include <optional>
#include <string>

#include "platform/Ports.h"
#include "platform/ServiceKeys.h"
#include "platform/offline/Environment.h"
#include "platform/offline/HiveFile.h"
#include "platform/offline/VolumePaths.h"
#include "platform/offline/WriteGuard.h"

namespace lsu::offline {

struct OfflineOptions {
    std::string root;           // the mount point: the folder holding Windows, Users and ProgramData
    std::string user;           // empty: the only profile holding an NTUSER.DAT
    std::string programFolder;  // the folder of the disabled items; empty: <root>/Program Files/LStartUp
    bool acceptDirtyHives = false;
};

// A Windows that is not running starts no programs: the platform offers
// every port but a launcher.
class OfflinePlatform : public Registry,
                        public IniProfiles,
                        public FileSystem,
                        public ShellLinks,
                        public SystemFacts,
                        public VersionInfo,
                        public Services,
                        public Scheduler {
public:
    // The platform over the volume; why not (no Windows volume, no profile,
    // no such program folder) when it cannot be opened.
    static Result<std::unique_ptr<OfflinePlatform>> open(const OfflineOptions& options);

    // The hives that hold changes only their logs know of.
    std::vector<std::string> dirtyHives() const;

    std::optional<std::vector<RegistryValue>> readValues(const RegistryLocation& key) override;
    std::optional<RegistryValue> readValue(const RegistryLocation& key, const std::string& name) override;
    Status writeValue(const RegistryLocation& key, const RegistryValue& value, bool createKey) override;
    Status deleteValue(const RegistryLocation& key, const std::string& name) override;
    std::optional<std::vector<std::string>> readSubkeys(const RegistryLocation& key) override;
    Status removeEmptyKey(const RegistryLocation& key) override;
    Status checkChange(const RegistryLocation& key) override;
    bool viewsShareKey(Hive hive, const std::string& subkey) override;

    std::optional<std::string> readProfile(const std::string& section, const std::string& key,
                                           const std::string& file) override;
    Status writeProfile(const std::string& section, const std::string& key, const std::string& value,
                        const std::string& file) override;
    Status removeProfileKey(const std::string& section, const std::string& key, const std::string& file) override;
    Status checkChange(const std::string& section, const std::string& file) override;

    bool fileExists(const std::string& path) override;
    bool folderExists(const std::string& path) override;
    Status ensureFolder(const std::string& path) override;
    Status removeFolder(const std::string& path) override;
    std::vector<std::string> listFiles(const std::string& folder) override;
    Result<Bytes> readFile(const std::string& path) override;
    Result<Bytes> readFileUpTo(const std::string& path, std::size_t limit) override;
    Status writeFile(const std::string& path, const Bytes& bytes) override;
    Status createHiddenFile(const std::string& path, const Bytes& bytes) override;
    Status deleteFile(const std::string& path) override;
    Status moveFile(const std::string& from, const std::string& to, bool replace) override;
    Status checkChange(const std::string& path) override;
    std::string pathToShow(const std::string& folder, const std::string& name) override;

    std::optional<ShortcutInfo> readShortcut(const std::string& linkFile) override;
    Status writeShortcut(const std::string& linkFile, const ShortcutFields& fields, bool replace) override;

    std::string shellFolder(ShellFolder folder) override;
    std::string windowsDirectory() override { return windowsFolder_; }
    std::string programFolder() override { return programFolder_; }
    std::string expandEnvironment(const std::string& text) override { return environment_.expand(text); }

    std::string companyName(const std::string& programPath) override;

    // Read, never switched: see OfflineTasks.cpp.
    Result<std::vector<RegisteredTask>> registeredTasks() override;
    bool switchesTasks() override { return false; }
    Status setTaskEnabled(const std::string& taskPath, bool enabled) override;

    Result<std::vector<ServiceConfig>> listServices() override;
    Result<ServiceConfig> readService(const std::string& name) override;
    Status setServiceStart(const std::string& name, std::uint32_t startType, bool delayed) override;

    OfflinePlatform(VolumePaths paths, bool acceptDirtyHives);
    OfflinePlatform(const OfflinePlatform&) = delete;
    OfflinePlatform& operator=(const OfflinePlatform&) = delete;

private:
    struct HiveKey {
        HiveFile* hive;
        std::string key;
    };
    Result<HiveKey> hiveKeyOf(const RegistryLocation& location) const;
    std::optional<HiveKey> mappedProfileKey(const std::string& section, const std::string& file);
    void loadEnvironment(const std::string& userName);
    void collectTasks(const std::string& folderKey, const std::string& folderPath, int depth,
                      std::vector<RegisteredTask>& tasks);
    std::optional<std::string> storedText(const RegistryLocation& key, const std::string& name);
    std::optional<RegisteredTask> taskOf(const std::string& treeKey, const std::string& taskPath);
    void openSystemHive();
    // Why the services cannot be read, when they cannot.
    std::optional<Error> servicesProblem() const;
    std::string displayText(const formats::IndirectString& reference);
    // The host folder and the name in it a change may be made at, or why it may not.
    Result<VolumePaths::ChangePlace> changePlace(const std::string& windowsPath);
    // The same, with the folder held.
    struct ChangeTarget {
        HeldFolder folder;
        std::string name;
    };
    Result<ChangeTarget> changeTarget(const std::string& windowsPath);

    VolumePaths paths_;
    WriteGuard guard_;
    std::unique_ptr<HiveFile> software_;
    std::unique_ptr<HiveFile> user_;
    std::unique_ptr<HiveFile> classes_;  // nullptr for a profile without a UsrClass.dat
    std::unique_ptr<HiveFile> system_;   // none on a volume without one
    std::string systemPath_;
    std::string controlSet_;  // "ControlSet001" to "ControlSet999"; empty when Select names none
    ServiceKeys services_;
    Environment environment_;
    std::string windowsFolder_;
    std::string programFolder_;
    bool programFolderExists_ = false;
};

}  // namespace lsu::offline
