#include "platform/offline/OfflinePlatform.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "base/CaseFolding.h"
#include "base/WindowsPaths.h"
#include "platform/RegistryStrings.h"
#include "platform/formats/VersionResource.h"
#include "platform/offline/HostFiles.h"
#include "platform/offline/Posix.h"
#include "platform/offline/ProfileChoice.h"

namespace lsu::offline {

namespace {

constexpr const char* kCurrentVersion = "Microsoft\\Windows\\CurrentVersion";
constexpr const char* kProfileList = "Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
constexpr const char* kUserShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
constexpr const char* kStartupBelowStartMenu = "\\Microsoft\\Windows\\Start Menu\\Programs\\Startup";
constexpr const char* kProgramFolderName = "LStartUp";
constexpr const char* kUserClassesHive = "\\Microsoft\\Windows\\UsrClass.dat";

std::optional<std::string> absoluteFolder(const std::string& path) {
    char resolved[PATH_MAX];
    if (!::realpath(path.c_str(), resolved) || !isFolder(resolved)) return std::nullopt;
    return std::string(resolved);
}

// A string the system keeps in its registry, or the fallback when it keeps none.
std::string stringValueOf(HiveFile& hive, const std::string& key, const std::string& name,
                          const std::string& fallback) {
    auto stored = hive.value(key, name);
    if (!stored || (stored->type != kRegSz && stored->type != kRegExpandSz)) return fallback;
    const std::string text = textOfStoredString(stored->data);
    return text.empty() ? fallback : text;
}

}  // namespace

OfflinePlatform::OfflinePlatform(VolumePaths paths, bool acceptDirtyHives)
    : paths_(std::move(paths)),
      guard_(acceptDirtyHives),
      services_(*this, [this](const formats::IndirectString& reference) { return displayText(reference); }) {}

Result<std::unique_ptr<OfflinePlatform>> OfflinePlatform::open(const OfflineOptions& options) {
    auto root = absoluteFolder(options.root);
    if (!root) return Error{ErrorKind::NoWindowsVolume, 0, options.root + " is not a folder"};
    VolumePaths provisional(*root, "C:\\Windows");
    const std::string softwarePath = *provisional.hostPath("C:\\Windows\\System32\\config\\SOFTWARE");
    auto platform = std::make_unique<OfflinePlatform>(provisional, options.acceptDirtyHives);
    platform->software_ =
        HiveFile::open(softwarePath, provisional.holdFolder(parentFolder(softwarePath)), platform->guard_);
    if (!platform->software_)
        return Error{ErrorKind::NoWindowsVolume, 0,
                     options.root + " holds no Windows volume: " + softwarePath + " is not a registry hive"};
    const std::string systemRoot = withoutTrailingBackslash(
        stringValueOf(*platform->software_, "Microsoft\\Windows NT\\CurrentVersion", "SystemRoot", "C:\\Windows"));
    platform->paths_ = VolumePaths(*root, systemRoot);
    platform->windowsFolder_ = systemRoot;
    platform->openSystemHive();

    std::string problem;
    auto profile =
        chooseProfile(*platform->paths_.hostPath(platform->paths_.driveRoot() + "Users"), options.user, problem);
    if (!profile) return Error{ErrorKind::NoProfile, 0, problem};
    platform->user_ = HiveFile::open(profile->hive, platform->paths_.holdFolder(profile->path), platform->guard_);
    if (!platform->user_) return Error{ErrorKind::NoProfile, 0, profile->hive + " is not a registry hive"};
    platform->loadEnvironment(profile->name);
    // Windows keeps the user's HKEY_CURRENT_USER\Software\Classes in a hive of its own, in the same
    // local application data folder that holds the user's parked items.
    if (auto classes = platform->paths_.hostPath(platform->shellFolder(ShellFolder::LocalAppData) + kUserClassesHive))
        platform->classes_ =
            HiveFile::open(*classes, platform->paths_.holdFolder(parentFolder(*classes)), platform->guard_);

    if (!options.programFolder.empty()) {
        auto folder = absoluteFolder(options.programFolder);
        if (!folder)
            return Error{ErrorKind::InvalidInput, 0, "the program folder " + options.programFolder + " does not exist"};
        platform->programFolder_ = platform->paths_.mapProgramFolder(*folder);
        platform->programFolderExists_ = true;
    } else {
        platform->programFolder_ = platform->environment_.expand("%ProgramFiles%") + "\\" + kProgramFolderName;
        auto host = platform->paths_.hostPath(platform->programFolder_);
        platform->programFolderExists_ = host && isFolder(*host);
    }
    return platform;
}

// The variables a command line of a start-up entry names its programs by.
void OfflinePlatform::loadEnvironment(const std::string& userName) {
    const std::string drive = paths_.driveRoot().substr(0, 2);
    environment_.set("SystemDrive", drive);
    environment_.set("SystemRoot", windowsFolder_);
    environment_.set("windir", windowsFolder_);
    auto machine = [&](const char* key, const char* name, const std::string& fallback) {
        return environment_.expand(stringValueOf(*software_, key, name, fallback));
    };
    environment_.set("ProgramFiles", machine(kCurrentVersion, "ProgramFilesDir", drive + "\\Program Files"));
    if (software_->hasKey("Wow6432Node"))
        environment_.set("ProgramFiles(x86)",
                         machine(kCurrentVersion, "ProgramFilesDir (x86)", drive + "\\Program Files (x86)"));
    const std::string programData = machine(kProfileList, "ProgramData", drive + "\\ProgramData");
    environment_.set("ProgramData", programData);
    environment_.set("ALLUSERSPROFILE", programData);
    environment_.set("USERNAME", userName);
    environment_.set("USERPROFILE", machine(kProfileList, "ProfilesDirectory", drive + "\\Users") + "\\" + userName);
    auto user = [&](const char* name, const char* fallback) {
        return environment_.expand(stringValueOf(*user_, kUserShellFolders, name, fallback));
    };
    environment_.set("APPDATA", user("AppData", "%USERPROFILE%\\AppData\\Roaming"));
    environment_.set("LOCALAPPDATA", user("Local AppData", "%USERPROFILE%\\AppData\\Local"));
}

std::vector<std::string> OfflinePlatform::dirtyHives() const {
    std::vector<std::string> dirty;
    for (const auto* hive : {software_.get(), user_.get(), classes_.get(), system_.get()})
        if (hive && hive->dirty()) dirty.push_back(hive->path());
    return dirty;
}

Result<VolumePaths::ChangePlace> OfflinePlatform::changePlace(const std::string& windowsPath) {
    auto place = paths_.changePlace(windowsPath);
    if (!place) return place.error();
    if (Status allowed = guard_.checkVolume(childPath(place->folder, place->name)); !allowed) return allowed.error();
    const std::string programFolder = withTrailingBackslash(programFolder_);
    if (!programFolderExists_ && equalsNoCase(windowsPath.substr(0, programFolder.size()), programFolder))
        return Error{ErrorKind::NotFound, 0,
                     "There is no folder for the disabled Startup-folder items: " + programFolder_ +
                         " does not exist on the volume. Create it, or name another with --program-folder PATH."};
    return place;
}

Result<OfflinePlatform::ChangeTarget> OfflinePlatform::changeTarget(const std::string& windowsPath) {
    auto place = changePlace(windowsPath);
    if (!place) return place.error();
    auto held = paths_.holdFolder(place->folder);
    if (!held) return held.error();
    return ChangeTarget{std::move(*held), place->name};
}

std::string OfflinePlatform::shellFolder(ShellFolder folder) {
    if (folder == ShellFolder::LocalAppData) return environment_.expand("%LOCALAPPDATA%");
    const char* profile = folder == ShellFolder::CommonStartup ? "%ProgramData%" : "%APPDATA%";
    return environment_.expand(profile) + kStartupBelowStartMenu;
}

bool OfflinePlatform::fileExists(const std::string& path) {
    // As on Windows, a path that ends in a separator names a folder, not a file.
    if (!path.empty() && (path.back() == '\\' || path.back() == '/')) return false;
    auto host = paths_.hostPathAsWindowsFindsIt(path);
    return host && isPlainFile(*host);
}

bool OfflinePlatform::folderExists(const std::string& path) {
    auto host = paths_.hostPathAsWindowsFindsIt(path);
    return host && isFolder(*host);
}

Status OfflinePlatform::ensureFolder(const std::string& path) {
    if (folderExists(path)) return {};
    auto target = changeTarget(path);
    if (!target) return target.error();
    return target->folder.makeFolder(target->name);
}

std::vector<std::string> OfflinePlatform::listFiles(const std::string& folder) {
    auto host = paths_.hostPath(folder);
    return host && !folder.empty() ? visibleFiles(*host) : std::vector<std::string>{};
}

Result<Bytes> OfflinePlatform::readFile(const std::string& path) { return readFileUpTo(path, SIZE_MAX); }

Result<Bytes> OfflinePlatform::readFileUpTo(const std::string& path, std::size_t limit) {
    auto host = paths_.hostPath(path);
    if (!host) return Error{ErrorKind::NotFound, 0, path + " is not on the offline Windows volume."};
    auto file = RegularFile::open(*host);
    const int error = errno;
    if (!file)
        return isPlainFile(*host) ? errnoResult(error, "reading " + *host).error()
                                  : Error{ErrorKind::NotFound, 0, *host + " is not a file."};
    if (file->size() > limit)
        return Error{ErrorKind::DamagedData, 0, *host + " is larger than a file of its kind can be."};
    std::string bytes;
    if (!file->readAll(bytes, limit)) return errnoResult("reading " + *host).error();
    return Bytes(bytes.begin(), bytes.end());
}

Status OfflinePlatform::removeFolder(const std::string& path) {
    auto target = changeTarget(path);
    if (!target) return target.error();
    return target->folder.removeFolder(target->name);
}

Status OfflinePlatform::writeFile(const std::string& path, const Bytes& bytes) {
    auto target = changeTarget(path);
    if (!target) return target.error();
    return target->folder.replaceFile(target->name, bytes);
}

Status OfflinePlatform::deleteFile(const std::string& path) {
    auto target = changeTarget(path);
    if (!target) return target.error();
    return target->folder.removeFile(target->name);
}

Status OfflinePlatform::moveFile(const std::string& from, const std::string& to, bool replace) {
    auto source = changeTarget(from);
    if (!source) return source.error();
    auto target = changeTarget(to);
    if (!target) return target.error();
    // A new spelling of the same name renames the file to it.
    const bool sameEntry = source->folder.path() == target->folder.path() && source->name == target->name;
    return source->folder.moveFile(source->name, target->folder, sameEntry ? std::string(fileNameOf(to)) : target->name,
                                   replace);
}

// Hives and links on the way are found out when the folder is held for the
// change itself.
Status OfflinePlatform::checkChange(const std::string& path) {
    auto place = changePlace(path);
    if (!place) return place.error();
    return {};
}

std::string OfflinePlatform::pathToShow(const std::string& folder, const std::string& name) {
    auto host = paths_.hostPath(folder);
    return host ? childPath(*host, name) : withTrailingBackslash(folder) + name;
}

Status OfflinePlatform::createHiddenFile(const std::string& path, const Bytes& bytes) {
    auto target = changeTarget(path);
    if (!target) return target.error();
    const auto& [folder, name] = *target;
    if (folder.holdsFile(name)) return errnoResult(EEXIST, "creating " + folder.pathOf(name));
    if (Status written = folder.replaceFile(name, bytes); !written) return written;
    Status hidden = folder.setAttributes(name, kAttributeHidden);
    if (hidden) return hidden;
    // A file that cannot be hidden is not the file asked for: it goes again.
    if (Status removed = folder.removeFile(name); !removed)
        return Error{
            hidden.error().kind, hidden.error().code,
            hidden.error().message + " " + folder.pathOf(name) + " is left behind: " + removed.error().message};
    return hidden;
}

std::string OfflinePlatform::companyName(const std::string& programPath) {
    auto host = paths_.hostPathAsWindowsFindsIt(programPath);
    auto program = host ? RegularFile::open(*host) : std::nullopt;
    return program ? formats::companyNameOfImage(*program) : std::string();
}

}  // namespace lsu::offline
