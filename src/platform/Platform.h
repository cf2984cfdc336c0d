#pragma once
// The one door between the portable core and the system. Everything the
// catalog, scanners, operations and window logic need from Windows passes
// through here: the Win32 build implements it over the W functions, the tests
// over an in-memory model. Text is UTF-8 on both sides of this interface.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/Result.h"

namespace lsu {

// Numbered as the Win32 predefined key handles.
enum class Hive : std::uint32_t { CurrentUser = 0x80000001u, LocalMachine = 0x80000002u };

// Machine-wide keys exist once per registry view on 64-bit Windows; the
// current user's Run keys are shared, so their rows carry Shared.
enum class RegistryView { Shared, Bits64, Bits32 };

// Registry value types, numbered as the registry numbers them.
inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;
inline constexpr std::uint32_t kRegQword = 11;

// A value exactly as stored: the name untrimmed (in UTF-8 that keeps every
// UTF-16 name, unpaired surrogates and NULs included), the raw type, and the
// bytes as the registry holds them for every type, so that what is moved is
// what was stored: a string's UTF-16LE units with its terminator, or without
// one, an odd last byte and what follows the terminator included.
struct RegistryValue {
    std::string name;
    std::uint32_t type = kRegSz;
    std::vector<std::uint8_t> data;
    bool operator==(const RegistryValue&) const = default;
};

struct RegistryLocation {
    Hive hive = Hive::CurrentUser;
    RegistryView view = RegistryView::Shared;
    std::string subkey;
    bool operator==(const RegistryLocation&) const = default;
};

// Shell folder numbers the system uses.
inline constexpr int kCsidlStartup = 7;
inline constexpr int kCsidlCommonStartup = 24;

struct ShortcutFields {
    std::string targetPath;
    std::string arguments;
    std::string description;
    int hotKey = 0;
    int showCmd = 1;
    std::string workDir;
    std::string iconFile;
    int iconIndex = 0;
    bool operator==(const ShortcutFields&) const = default;
};

struct ShortcutInfo {
    ShortcutFields fields;
    std::string displayName;  // the name the shell shows for the file
};

class Platform {
public:
    virtual ~Platform() = default;

    // Registry. Keys are opened with read rights only for reading.
    // nullopt: the key could not be opened (missing or refused).
    virtual std::optional<std::vector<RegistryValue>> readValues(const RegistryLocation& key) = 0;
    virtual std::optional<RegistryValue> readValue(const RegistryLocation& key, const std::string& name) = 0;
    // Writes the value, creating the key (and its parents) when createKey is set.
    virtual Status writeValue(const RegistryLocation& key, const RegistryValue& value, bool createKey) = 0;
    virtual Status deleteValue(const RegistryLocation& key, const std::string& name) = 0;
    // True when the 64-bit and 32-bit views of this machine key are one key,
    // so that reading both would list each entry twice.
    virtual bool viewsShareKey(Hive hive, const std::string& subkey) = 0;

    // INI profile. readProfile gives the whole value, or nullopt when the key
    // (or section, or file) is absent.
    virtual std::optional<std::string> readProfile(const std::string& section, const std::string& key,
                                                   const std::string& file) = 0;
    virtual Status writeProfile(const std::string& section, const std::string& key, const std::string& value,
                                const std::string& file) = 0;

    // Shell folders and files. Paths use backslashes.
    virtual std::string specialFolder(int csidl) = 0;  // empty when unknown
    virtual std::string windowsDirectory() = 0;        // no trailing backslash
    virtual std::string programFolder() = 0;           // folder of the executable, no trailing backslash
    virtual std::string programFileName() = 0;         // the executable's file name, e.g. LStartUp.exe
    virtual bool fileExists(const std::string& path) = 0;  // false for folders and on any failure
    virtual bool folderExists(const std::string& path) = 0;
    virtual Status ensureFolder(const std::string& path) = 0;  // one level; done when it exists afterwards
    // Plain files of one folder: no subfolders, no hidden or system files,
    // sorted by name (case-insensitive). Empty when the folder is unreadable.
    virtual std::vector<std::string> listFiles(const std::string& folder) = 0;
    virtual std::optional<std::vector<std::uint8_t>> readFile(const std::string& path) = 0;
    // Creates or replaces the file with exactly these bytes.
    virtual Status writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) = 0;
    virtual Status deleteFile(const std::string& path) = 0;
    // Renames within one volume; fails when the target exists unless replace.
    virtual Status moveFile(const std::string& from, const std::string& to, bool replace) = 0;
    virtual Status setHidden(const std::string& path) = 0;
    virtual std::string expandEnvironment(const std::string& text) = 0;
    // The CompanyName of the file's version resource (its first
    // translation); empty when the file has none or cannot be read.
    virtual std::string companyName(const std::string& programPath) = 0;

    // Shortcuts. readShortcut: nullopt when the file is not a readable link.
    virtual std::optional<ShortcutInfo> readShortcut(const std::string& linkFile) = 0;
    // Opens the existing link file, sets the fields (hot key and icon only
    // when given) and saves it in place.
    virtual Status completeShortcut(const std::string& linkFile, const ShortcutFields& fields) = 0;

    // Starts a program in a window shown as showCommand asks (the Win32
    // show-window numbers: 1 normal, 3 maximised).
    virtual Status shellOpen(const std::string& file, const std::string& parameters, const std::string& directory,
                             int showCommand) = 0;
};

}  // namespace lsu
