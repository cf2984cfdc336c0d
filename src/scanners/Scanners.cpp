#include "scanners/Scanners.h"

#include <map>

#include "catalog/DisabledStores.h"
#include "catalog/Sections.h"
#include "catalog/Text.h"
#include "scanners/RegistryData.h"

namespace lsu {

namespace {

enum class SourceKind { Registry, WinIni, StartupFolder };

struct ScannerDefinition {
    Scanner scanner;
    SourceKind kind;
    std::string_view section;
    std::string_view winIniKey;  // for win.ini scanners
};

const std::vector<ScannerDefinition>& scannerTable() {
    static const std::vector<ScannerDefinition> table = {
        {Scanner::LoadHKCURun, SourceKind::Registry, "Registry\\Current User\\Run", {}},
        {Scanner::LoadHKCURunOnce, SourceKind::Registry, "Registry\\Current User\\Run Once", {}},
        {Scanner::LoadHKLMRun, SourceKind::Registry, "Registry\\All Users\\Run", {}},
        {Scanner::LoadHKLMRunOnce, SourceKind::Registry, "Registry\\All Users\\Run Once", {}},
        {Scanner::LoadHKLMRunOnceEx, SourceKind::Registry, "Registry\\All Users\\Run Once Ex", {}},
        {Scanner::LoadHKLMRunServices, SourceKind::Registry, "Registry\\All Users\\Run Services", {}},
        {Scanner::LoadHKLMRunServicesOnce, SourceKind::Registry, "Registry\\All Users\\Run Services Once", {}},
        {Scanner::LoadWinIniLoad, SourceKind::WinIni, kWinIniLoad, kWinIniLoadKey},
        {Scanner::LoadWinIniRun, SourceKind::WinIni, kWinIniRun, kWinIniRunKey},
        {Scanner::LoadStartupAllUsers, SourceKind::StartupFolder, kStartupAllUsers, {}},
        {Scanner::LoadStartupCurrentUser, SourceKind::StartupFolder, kStartupCurrentUser, {}},
    };
    return table;
}

const ScannerDefinition& definitionOf(Scanner scanner) { return scannerTable()[static_cast<std::size_t>(scanner)]; }

const RegistrySection& registrySectionOf(std::string_view key) {
    for (const auto& section : registrySections())
        if (section.key == key) return section;
    return registrySections().front();  // every registry scanner names one of the seven
}

// The machine hive has a 64-bit and a 32-bit view, and Windows starts the
// entries of both; the current user's keys are one key in both views.
std::vector<RegistryView> viewsToRead(Platform& platform, const RegistrySection& section) {
    if (section.hive == Hive::CurrentUser) return {RegistryView::Shared};
    if (platform.viewsShareKey(section.hive, std::string(section.subkey))) return {RegistryView::Bits64};
    return {RegistryView::Bits64, RegistryView::Bits32};
}

void scanRegistry(const ScannerDefinition& definition, ScanContext& context) {
    const RegistrySection& section = registrySectionOf(definition.section);
    const auto views = viewsToRead(context.platform, section);
    for (bool enabled : {true, false}) {
        const std::string subkey = enabled ? std::string(section.subkey) : disabledSubkey(section.subkey);
        for (RegistryView view : views) {
            auto values = context.platform.readValues({section.hive, view, subkey});
            if (!values) continue;
            for (auto& value : *values) {
                StartupEntry& row = AddtoList(context.list, value.name, renderRegistryData(value), section.key,
                                              enabled, kTypeReg, context.check);
                row.view = view;
                row.stored = std::move(value);
            }
        }
    }
}

void scanWinIni(const ScannerDefinition& definition, ScanContext& context) {
    const std::string file = winIniPath(context.platform);
    for (bool enabled : {true, false}) {
        auto section = enabled ? kWinIniEnabledSection : kWinIniDisabledSection;
        auto line = context.platform.readProfile(std::string(section), std::string(definition.winIniKey), file);
        if (!line || line->empty() || (enabled && *line == "No")) continue;
        AddtoList(context.list, winIniEntryName(*line), *line, definition.section, enabled, kTypeFile, context.check);
    }
}

void scanFolder(const std::string& folder, bool enabled, std::string_view sectionKey, ScanContext& context) {
    for (const std::string& file : context.platform.listFiles(folder)) {
        const std::string path = AddSlash(folder) + file;
        if (endsWithNoCase(trimSpaces(file), ".lnk")) {
            // A link the shell cannot read still stands in the folder and
            // still starts at logon: it is listed under its file name.
            auto link = context.platform.readShortcut(path);
            const std::string bare = trimSpaces(file);
            AddtoList(context.list, link ? link->displayName : bare.substr(0, bare.size() - 4),
                      link ? link->fields.targetPath : std::string(), sectionKey, enabled, kTypeLnk, context.check)
                .fileName = file;
        } else {
            // The file stands in the folder, so the program it names exists.
            appendRow(context.list, file, file, sectionKey, enabled, kTypeFile, true).fileName = file;
        }
    }
}

void scanStartupFolder(const ScannerDefinition& definition, ScanContext& context) {
    const std::string startup = context.platform.specialFolder(startupFolderId(definition.section));
    if (!startup.empty()) scanFolder(startup, true, definition.section, context);
    scanFolder(disabledItemsFolder(context.platform, definition.section), false, definition.section, context);
}

}  // namespace

std::string winIniEntryName(std::string_view line) {
    auto slash = line.find_last_of('\\');
    auto last = slash == std::string_view::npos ? line : line.substr(slash + 1);
    return std::string(last.substr(0, last.find('.')));
}

std::string_view scannerSection(Scanner scanner) { return definitionOf(scanner).section; }

void runScanner(Scanner scanner, ScanContext& context) {
    const ScannerDefinition& definition = definitionOf(scanner);
    switch (definition.kind) {
        case SourceKind::Registry: scanRegistry(definition, context); break;
        case SourceKind::WinIni: scanWinIni(definition, context); break;
        case SourceKind::StartupFolder: scanStartupFolder(definition, context); break;
    }
}

const std::vector<Scanner>& scannersOf(std::string_view sectionKey) {
    using S = Scanner;
    static const std::vector<S> currentUser = {S::LoadHKCURun, S::LoadHKCURunOnce};
    static const std::vector<S> allUsers = {S::LoadHKLMRun, S::LoadHKLMRunOnce, S::LoadHKLMRunOnceEx,
                                            S::LoadHKLMRunServices, S::LoadHKLMRunServicesOnce};
    static const std::vector<S> winIni = {S::LoadWinIniLoad, S::LoadWinIniRun};
    static const std::vector<S> folders = {S::LoadStartupAllUsers, S::LoadStartupCurrentUser};
    static const std::map<std::string_view, std::vector<S>> table = [&] {
        std::map<std::string_view, std::vector<S>> t;
        std::vector<S> registry = currentUser;
        registry.insert(registry.end(), allUsers.begin(), allUsers.end());
        std::vector<S> all = registry;
        all.insert(all.end(), winIni.begin(), winIni.end());
        all.insert(all.end(), folders.begin(), folders.end());
        t["All Programs"] = all;
        t["Startup Folder"] = folders;
        t["Registry"] = registry;
        t["Registry\\All Users"] = allUsers;
        t["Registry\\Current User"] = currentUser;
        t["Win.ini"] = winIni;
        for (const auto& definition : scannerTable()) t[definition.section] = {definition.scanner};
        return t;
    }();
    static const std::vector<S> none;
    auto it = table.find(sectionKey);
    return it == table.end() ? none : it->second;
}

}  // namespace lsu
