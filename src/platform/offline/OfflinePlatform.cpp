#include "platform/offline/OfflinePlatform.h"

#include <climits>
#include <cstdlib>

#include "catalog/Text.h"
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

std::string lastComponent(const std::string& path) { return path.substr(path.find_last_of("/\\") + 1); }

std::string withoutTrailingBackslash(std::string path) {
    while (path.size() > 3 && path.back() == '\\') path.pop_back();
    return path;
}

std::optional<std::string> absoluteFolder(const std::string& path) {
    char resolved[PATH_MAX];
    if (!::realpath(path.c_str(), resolved) || !isFolder(resolved)) return std::nullopt;
    return std::string(resolved);
}

}  // namespace

OfflinePlatform::OfflinePlatform(VolumePaths paths, bool acceptDirtyHives)
    : paths_(std::move(paths)), guard_(acceptDirtyHives) {}

std::variant<std::unique_ptr<OfflinePlatform>, SetupProblem> OfflinePlatform::open(const OfflineOptions& options) {
    auto root = absoluteFolder(options.root);
    if (!root) return SetupProblem{SetupProblem::NotAWindowsVolume, options.root + " is not a folder"};
    VolumePaths provisional(*root, "C:\\Windows");
    const std::string softwarePath = *provisional.hostPath("C:\\Windows\\System32\\config\\SOFTWARE");
    auto platform = std::make_unique<OfflinePlatform>(provisional, options.acceptDirtyHives);
    platform->software_ =
        HiveFile::open(softwarePath, provisional.holdFolder(parentFolder(softwarePath)), platform->guard_);
    if (!platform->software_)
        return SetupProblem{SetupProblem::NotAWindowsVolume,
                            options.root + " holds no Windows volume: " + softwarePath + " is not a registry hive"};
    const std::string systemRoot = withoutTrailingBackslash(platform->stringValueOf(
        *platform->software_, "Microsoft\\Windows NT\\CurrentVersion", "SystemRoot", "C:\\Windows"));
    platform->paths_ = VolumePaths(*root, systemRoot);
    platform->windowsFolder_ = systemRoot;

    std::string problem;
    auto profile =
        chooseProfile(*platform->paths_.hostPath(platform->paths_.driveRoot() + "Users"), options.user, problem);
    if (!profile) return SetupProblem{SetupProblem::NoProfile, problem};
    platform->user_ = HiveFile::open(profile->hive, platform->paths_.holdFolder(profile->path), platform->guard_);
    if (!platform->user_) return SetupProblem{SetupProblem::NoProfile, profile->hive + " is not a registry hive"};
    platform->loadEnvironment(profile->name);

    if (!options.programFolder.empty()) {
        auto folder = absoluteFolder(options.programFolder);
        if (!folder)
            return SetupProblem{SetupProblem::NoProgramFolder,
                                "the program folder " + options.programFolder + " does not exist"};
        platform->programFolder_ = platform->paths_.mapProgramFolder(*folder);
        platform->programFolderExists_ = true;
    } else {
        platform->programFolder_ = platform->environment_.expand("%ProgramFiles%") + "\\" + kProgramFolderName;
        auto host = platform->paths_.hostPath(platform->programFolder_);
        platform->programFolderExists_ = host && isFolder(*host);
    }
    return platform;
}

std::string OfflinePlatform::stringValueOf(HiveFile& hive, const std::string& key, const std::string& name,
                                           const std::string& fallback) {
    auto stored = hive.value(key, name);
    if (!stored || (stored->type != kRegSz && stored->type != kRegExpandSz)) return fallback;
    const RegistryValue value = portValue(*stored);
    const std::string text(value.data.begin(), value.data.end());
    return text.empty() ? fallback : text;
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
    for (const auto* hive : {software_.get(), user_.get()})
        if (hive->dirty()) dirty.push_back(hive->path());
    return dirty;
}

std::variant<OfflinePlatform::ChangeTarget, SystemResult> OfflinePlatform::changeTarget(
    const std::string& windowsPath) {
    auto place = paths_.changePlace(windowsPath);
    if (auto* refused = std::get_if<SystemResult>(&place)) return *refused;
    const auto& [folder, name] = std::get<VolumePaths::ChangePlace>(place);
    if (SystemResult allowed = guard_.checkVolume(childPath(folder, name)); !allowed) return allowed;
    const std::string programFolder = withTrailingBackslash(programFolder_);
    if (!programFolderExists_ && equalsNoCase(windowsPath.substr(0, programFolder.size()), programFolder))
        return SystemResult::refused(0, "There is no folder for the disabled Startup-folder items: " + programFolder_ +
                                            " does not exist on the volume. Create it, or name another with "
                                            "--program-folder PATH.");
    auto held = paths_.holdFolder(folder);
    if (auto* refused = std::get_if<SystemResult>(&held)) return *refused;
    return ChangeTarget{std::move(std::get<HeldFolder>(held)), name};
}

std::string OfflinePlatform::specialFolder(int csidl) {
    if (csidl == kCsidlCommonStartup) return environment_.expand("%ProgramData%") + kStartupBelowStartMenu;
    if (csidl == kCsidlStartup) return environment_.expand("%APPDATA%") + kStartupBelowStartMenu;
    return {};
}

std::string OfflinePlatform::programFileName() {
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    return length > 0 ? lastComponent(std::string(path, static_cast<std::size_t>(length))) : "lstartup-cli";
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

SystemResult OfflinePlatform::ensureFolder(const std::string& path) {
    if (folderExists(path)) return {};
    auto target = changeTarget(path);
    if (auto* refused = std::get_if<SystemResult>(&target)) return *refused;
    const auto& [folder, name] = std::get<ChangeTarget>(target);
    return folder.makeFolder(name);
}

std::vector<std::string> OfflinePlatform::listFiles(const std::string& folder) {
    auto host = paths_.hostPath(folder);
    return host && !folder.empty() ? visibleFiles(*host) : std::vector<std::string>{};
}

std::optional<std::vector<std::uint8_t>> OfflinePlatform::readFile(const std::string& path) {
    auto host = paths_.hostPath(path);
    std::string bytes;
    if (!host || !readWholeFile(*host, bytes)) return std::nullopt;
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

SystemResult OfflinePlatform::writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    auto target = changeTarget(path);
    if (auto* refused = std::get_if<SystemResult>(&target)) return *refused;
    const auto& [folder, name] = std::get<ChangeTarget>(target);
    return folder.replaceFile(name, bytes);
}

SystemResult OfflinePlatform::deleteFile(const std::string& path) {
    auto target = changeTarget(path);
    if (auto* refused = std::get_if<SystemResult>(&target)) return *refused;
    const auto& [folder, name] = std::get<ChangeTarget>(target);
    return folder.removeFile(name);
}

SystemResult OfflinePlatform::moveFile(const std::string& from, const std::string& to, bool replace) {
    auto source = changeTarget(from);
    if (auto* refused = std::get_if<SystemResult>(&source)) return *refused;
    auto target = changeTarget(to);
    if (auto* refused = std::get_if<SystemResult>(&target)) return *refused;
    const auto& [fromFolder, fromName] = std::get<ChangeTarget>(source);
    const auto& [toFolder, toName] = std::get<ChangeTarget>(target);
    // A new spelling of the same name renames the file to it.
    const bool sameEntry = fromFolder.path() == toFolder.path() && fromName == toName;
    return fromFolder.moveFile(fromName, toFolder, sameEntry ? lastComponent(to) : toName, replace);
}

SystemResult OfflinePlatform::setHidden(const std::string& path) {
    auto target = changeTarget(path);
    if (auto* refused = std::get_if<SystemResult>(&target)) return *refused;
    const auto& [folder, name] = std::get<ChangeTarget>(target);
    return folder.setAttributes(name, kAttributeHidden);
}

std::string OfflinePlatform::companyName(const std::string& programPath) {
    auto host = paths_.hostPathAsWindowsFindsIt(programPath);
    auto program = host ? RegularFile::open(*host) : std::nullopt;
    return program ? formats::companyNameOfImage(*program) : std::string();
}

SystemResult OfflinePlatform::shellOpen(const std::string&, const std::string&, const std::string&, int) {
    return SystemResult::refused(0, "The programs of an offline Windows cannot be started from Linux.");
}

}  // namespace lsu::offline
