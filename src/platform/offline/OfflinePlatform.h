#pragma once
// The platform over a Windows that is not running: its volume mounted on
// Linux, HKEY_LOCAL_MACHINE from its SOFTWARE hive, HKEY_CURRENT_USER from
// one profile's NTUSER.DAT, win.ini's [windows] section where Windows NT
// maps it (the key Windows NT\CurrentVersion\Windows of that profile's
// Software) and the rest of win.ini as a file. The core keeps speaking
// the offline system's paths; each is found on the mount ignoring case.
// Every change is refused, with nothing changed, on a volume mounted
// read-only and in a hive that was not shut down cleanly.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>

#include "platform/Platform.h"
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

struct SetupProblem {
    enum Kind { NotAWindowsVolume, NoProfile, NoProgramFolder } kind;
    std::string message;
};

class OfflinePlatform : public Platform {
public:
    static std::variant<std::unique_ptr<OfflinePlatform>, SetupProblem> open(const OfflineOptions& options);

    // Why the last change was refused before anything was changed, if it was.
    const std::optional<Refusal>& lastRefusal() const { return guard_.lastRefusal(); }
    // The hives that hold changes only their logs know of.
    std::vector<std::string> dirtyHives() const;

    std::optional<std::vector<RegistryValue>> readValues(const RegistryLocation& key) override;
    std::optional<RegistryValue> readValue(const RegistryLocation& key, const std::string& name) override;
    SystemResult writeValue(const RegistryLocation& key, const RegistryValue& value, bool createKey) override;
    SystemResult deleteValue(const RegistryLocation& key, const std::string& name) override;
    bool viewsShareKey(Hive hive, const std::string& subkey) override;

    std::optional<std::string> readProfile(const std::string& section, const std::string& key,
                                           const std::string& file) override;
    SystemResult writeProfile(const std::string& section, const std::string& key, const std::string& value,
                              const std::string& file) override;

    std::string specialFolder(int csidl) override;
    std::string windowsDirectory() override { return windowsFolder_; }
    std::string programFolder() override { return programFolder_; }
    std::string programFileName() override;
    bool fileExists(const std::string& path) override;
    bool folderExists(const std::string& path) override;
    SystemResult ensureFolder(const std::string& path) override;
    std::vector<std::string> listFiles(const std::string& folder) override;
    std::optional<std::vector<std::uint8_t>> readFile(const std::string& path) override;
    SystemResult writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) override;
    SystemResult deleteFile(const std::string& path) override;
    SystemResult moveFile(const std::string& from, const std::string& to, bool replace) override;
    SystemResult setHidden(const std::string& path) override;
    std::string expandEnvironment(const std::string& text) override { return environment_.expand(text); }
    std::string companyName(const std::string& programPath) override;

    std::optional<ShortcutInfo> readShortcut(const std::string& linkFile) override;
    SystemResult completeShortcut(const std::string& linkFile, const ShortcutFields& fields) override;

    SystemResult shellOpen(const std::string& file, const std::string& parameters, const std::string& directory,
                           int showCommand) override;

    OfflinePlatform(VolumePaths paths, bool acceptDirtyHives);

private:
    struct HiveKey {
        HiveFile* hive;
        std::string key;
    };
    std::optional<HiveKey> hiveKeyOf(const RegistryLocation& location) const;
    std::optional<HiveKey> mappedProfileKey(const std::string& section, const std::string& file);
    RegistryValue portValue(const HiveValue& stored);
    HiveValue storedValue(const RegistryValue& value) const;
    std::string stringValueOf(HiveFile& hive, const std::string& key, const std::string& name,
                              const std::string& fallback);
    void loadEnvironment(const std::string& userName);
    // The folder, held, and the name in it a change may be made at, or why it may not.
    struct ChangeTarget {
        HeldFolder folder;
        std::string name;
    };
    std::variant<ChangeTarget, SystemResult> changeTarget(const std::string& windowsPath);

    VolumePaths paths_;
    WriteGuard guard_;
    std::unique_ptr<HiveFile> software_;
    std::unique_ptr<HiveFile> user_;
    Environment environment_;
    std::string windowsFolder_;
    std::string programFolder_;
    bool programFolderExists_ = false;
    // Strings read whose bytes UTF-8 cannot carry (no terminator, junk after
    // it, unpaired surrogates), by type and text: written back unchanged,
    // they keep the bytes they were read with.
    std::map<std::pair<std::uint32_t, std::vector<std::uint8_t>>, std::vector<std::uint8_t>> rawStrings_;
};

}  // namespace lsu::offline
