#pragma once
// The real platform: the registry, win.ini, the shell's folders and links,
// the file system, version resources, the service manager and the shell's
// launching of programs, through the W functions.

#include <windows.h>

#include <mutex>
#include <string>
#include <unordered_map>

#include "platform/Launcher.h"
#include "platform/Ports.h"
#include "platform/win32/ShellThread.h"

namespace lsu {

class Win32Platform : public Registry,
                      public IniProfiles,
                      public FileSystem,
                      public ShellLinks,
                      public SystemFacts,
                      public VersionInfo,
                      public Services,
                      public Scheduler,
                      public Launcher {
public:
    Win32Platform() = default;
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

    std::optional<std::vector<RegistryValue>> readValues(const RegistryLocation& location) override;
    std::optional<RegistryValue> readValue(const RegistryLocation& location, const std::string& name) override;
    Status writeValue(const RegistryLocation& location, const RegistryValue& value, bool createKey) override;
    Status deleteValue(const RegistryLocation& location, const std::string& name) override;
    std::optional<std::vector<std::string>> readSubkeys(const RegistryLocation& location) override;
    Status removeEmptyKey(const RegistryLocation& location) override;
    Status checkChange(const RegistryLocation& location) override;
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
    std::string windowsDirectory() override;
    std::string programFolder() override;
    std::string expandEnvironment(const std::string& text) override;

    std::string companyName(const std::string& programPath) override;

    // Through the Task Scheduler 2.0 interfaces.
    Result<std::vector<RegisteredTask>> registeredTasks() override;
    bool switchesTasks() override { return true; }
    Status setTaskEnabled(const std::string& taskPath, bool enabled) override;

    Result<std::vector<ServiceConfig>> listServices() override;
    Result<ServiceConfig> readService(const std::string& name) override;
    Status setServiceStart(const std::string& name, std::uint32_t startType, bool delayed) override;
    Status startService(const std::string& name) override;

    Status launch(const std::string& file, const std::string& parameters, const std::string& directory,
                  ShowCommand show) override;
    Status runScheduledTask(const std::string& taskPath) override;

private:
    Result<ServiceConfig> configOf(SC_HANDLE service, const std::string& name);
    Result<bool> delayedStart(SC_HANDLE service, const std::string& name);
    Status setDelayedStart(SC_HANDLE service, const std::string& name, bool delayed);

    // Whether the folder holds a desktop.ini, which may give its links other
    // names: as its last listing saw, or else looked up.
    bool holdsDesktopIni(const std::string& folder);
    // Removes the unfinished files an earlier run left in the folder.
    void removeStaleTemporaries(const std::string& folder);

    // The thread that makes the platform reads links through the shell
    // until the platform goes.
    win32::ShellThread shell_;
    // Looking for a file that is not there makes Wine read the whole folder,
    // so a listing notes the desktop.ini it passes for the links it lists.
    std::mutex listedMutex_;
    std::unordered_map<std::string, bool> listedDesktopIni_;
};

namespace win32 {

// The full path of the running program.
std::string programPath();

}  // namespace win32

}  // namespace lsu
