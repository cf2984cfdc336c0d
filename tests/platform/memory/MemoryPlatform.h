#pragma once
// An in-memory Windows for the portable tests: a registry with two views of
// the machine hive, INI files, a case-insensitive file system with hidden
// files, shortcut files in a private encoding, and services kept in their
// registry keys as an offline Windows keeps them, and registered scheduled
// tasks. Any single operation can be
// made to fail, so that tests can show nothing is lost when a step breaks.

#include <functional>
#include <map>
#include <set>

#include "platform/Ports.h"
#include "platform/ServiceKeys.h"

namespace lsu {

enum class MemoryOp {
    RegistryRead,
    RegistryWrite,
    RegistryDelete,
    ProfileRead,
    ProfileWrite,
    FileRead,
    FileWrite,
    FileDelete,
    FileMove,
    ShortcutWrite,
    ServiceChange,
    TaskRead,
    TaskSwitch
};

inline constexpr const char* kMemoryProgramFolder = "C:\\Program Files\\LStartUp";

class MemoryPlatform : public Registry,
                       public IniProfiles,
                       public FileSystem,
                       public ShellLinks,
                       public SystemFacts,
                       public VersionInfo,
                       public Services,
                       public Scheduler {
public:
    MemoryPlatform();

    // Every port of this platform, so that a test hands the platform itself
    // to what takes ports.
    operator ScanPorts() { return portsOf(*this); }

    // Seeding for tests.
    void makeReadOnly(Hive hive) { readOnlyHives_.insert(hive); }  // reads work, writes are refused
    void makeReadOnly(const std::string& folder);                  // its files can no longer change
    void setSharedViews(bool shared) { sharedViews_ = shared; }    // a system where both views are one key
    // Its folders too; a program file's version resource names the company.
    void putFile(const std::string& path, Bytes bytes, const std::string& company = {});
    void putShortcut(const std::string& path, const ShortcutFields& fields);
    void forgetShellFolder(ShellFolder folder) { shellFolders_.erase(folder); }
    // Its folder too: another user's folder, as when that user logs on.
    void setShellFolder(ShellFolder folder, const std::string& path);
    // A task registered under the path, with its definition as the scheduler hands it out.
    void putTask(const std::string& path, const std::string& definition, bool enabled = true);
    // A scheduler that answers a switch with success and leaves the task as it was.
    void ignoreTaskSwitches() { taskSwitchesIgnored_ = true; }
    // Another program holds the file open without sharing it: it can be
    // neither read nor changed.
    void holdOpen(const std::string& path);

    // Failure injection: called before every mutating or reading operation;
    // returning true makes that operation fail.
    std::function<bool(MemoryOp)> failWhen;

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
    std::string windowsDirectory() override { return "C:\\windows"; }
    std::string programFolder() override { return kMemoryProgramFolder; }
    std::string expandEnvironment(const std::string& text) override;

    std::string companyName(const std::string& programPath) override;

    Result<std::vector<RegisteredTask>> registeredTasks() override;
    bool switchesTasks() override { return true; }
    Status setTaskEnabled(const std::string& taskPath, bool enabled) override;

    Result<std::vector<ServiceConfig>> listServices() override { return serviceKeys().list(); }
    Result<ServiceConfig> readService(const std::string& name) override { return serviceKeys().read(name); }
    Status setServiceStart(const std::string& name, std::uint32_t startType, bool delayed) override;

private:
    struct File {
        std::string name;  // as created, for listing
        Bytes bytes;
        bool hidden = false;
        std::string company;
    };
    using Values = std::vector<RegistryValue>;  // in creation order, as the registry enumerates
    struct Key {
        std::string subkey;  // as created, for listing
        Values values;
    };

    bool fails(MemoryOp op) const { return failWhen && failWhen(op); }
    std::u16string keyPath(const RegistryLocation& key) const;
    void addFolder(const std::string& path);
    // Why a file of the folder cannot be written, or nullopt.
    std::optional<Error> refusalIn(const std::string& folder) const;
    // Why the file cannot be changed where it stands, or nullopt.
    std::optional<Error> refusalOf(const std::string& path) const;
    // Made for each use, so that a copy of the platform reads its own keys.
    ServiceKeys serviceKeys();

    std::map<std::u16string, Key> keys_;  // folded path -> values
    std::set<Hive> readOnlyHives_;
    bool sharedViews_ = false;
    std::map<std::u16string, std::string> profiles_;  // folded file, section and key -> value
    std::map<std::u16string, File> files_;            // folded path -> file
    std::set<std::u16string> folders_;                // folded paths
    std::set<std::u16string> readOnlyFolders_;
    std::set<std::u16string> heldFiles_;  // folded paths
    std::map<ShellFolder, std::string> shellFolders_;
    std::map<std::u16string, RegisteredTask> tasks_;  // folded path -> task
    bool taskSwitchesIgnored_ = false;
};

}  // namespace lsu
