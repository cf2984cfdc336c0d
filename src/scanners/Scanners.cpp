#include "scanners/Scanners.h"

#include "catalog/DisabledStores.h"
#include "catalog/Text.h"
#include "scanners/RegistryData.h"

namespace lsu {

namespace {

StartupEntry& appendEntry(ScanContext& context, std::string name, std::string commandLine, SectionId leaf,
                          bool enabled, EntryType type, bool exists) {
    StartupEntry& entry = context.rows.emplace_back();
    entry.name = std::move(name);
    entry.commandLine = std::move(commandLine);
    entry.section = leaf;
    entry.type = type;
    entry.enabled = enabled;
    entry.exists = exists;
    return entry;
}

// Windows starts the entries of both views of a machine key, unless the
// system keeps the two views as one key.
std::vector<RegistryView> viewsToRead(Platform& platform, const RegistrySource& source) {
    if (source.views == ViewRule::Shared) return {RegistryView::Shared};
    if (platform.viewsShareKey(source.hive, std::string(source.subkey))) return {RegistryView::Bits64};
    return {RegistryView::Bits64, RegistryView::Bits32};
}

void scanRegistry(SectionId leaf, const RegistrySource& source, ScanContext& context) {
    const auto views = viewsToRead(context.platform, source);
    for (bool enabled : {true, false}) {
        const std::string subkey = enabled ? std::string(source.subkey) : disabledSubkey(source.subkey);
        for (RegistryView view : views) {
            auto values = context.platform.readValues({source.hive, view, subkey});
            if (!values) continue;
            for (auto& value : *values) {
                std::string commandLine = renderRegistryData(value);
                const bool exists = context.check.programExists(commandLine);
                StartupEntry& row = appendEntry(context, value.name, std::move(commandLine), leaf, enabled,
                                                EntryType::RegistryValue, exists);
                row.view = view;
                row.stored = std::move(value);
            }
        }
    }
}

void scanWinIni(SectionId leaf, const WinIniSource& source, ScanContext& context) {
    const std::string file = winIniPath(context.platform);
    for (bool enabled : {true, false}) {
        const auto iniSection = enabled ? kWinIniEnabledSection : kWinIniDisabledSection;
        auto line = context.platform.readProfile(std::string(iniSection), std::string(source.key), file);
        // An empty key, and "No" in the section Windows reads, hold no entry.
        if (!line || line->empty() || (enabled && *line == "No")) continue;
        const bool exists = context.check.programExists(*line);
        appendEntry(context, winIniEntryName(*line), *line, leaf, enabled, EntryType::File, exists);
    }
}

void scanFolder(const std::string& folder, bool enabled, SectionId leaf, ScanContext& context) {
    for (const std::string& file : context.platform.listFiles(folder)) {
        const std::string path = withTrailingBackslash(folder) + file;
        if (endsWithNoCase(trimSpaces(file), ".lnk")) {
            // A link the shell cannot read still stands in the folder and
            // still starts at logon: it is listed under its file name.
            auto link = context.platform.readShortcut(path);
            const std::string bare = trimSpaces(file);
            std::string target = link ? link->fields.targetPath : std::string();
            const bool exists = context.check.programExists(target);
            appendEntry(context, link ? link->displayName : bare.substr(0, bare.size() - 4), std::move(target), leaf,
                        enabled, EntryType::Shortcut, exists)
                .fileName = file;
        } else {
            // The file stands in the folder, so the program it names exists.
            appendEntry(context, file, file, leaf, enabled, EntryType::File, true).fileName = file;
        }
    }
}

void scanStartupFolder(SectionId leaf, const FolderSource& source, ScanContext& context) {
    const std::string startup = context.platform.specialFolder(source.csidl);
    if (!startup.empty()) scanFolder(startup, true, leaf, context);
    scanFolder(disabledItemsFolder(context.platform, leaf), false, leaf, context);
}

}  // namespace

std::string winIniEntryName(std::string_view line) {
    auto slash = line.find_last_of('\\');
    auto last = slash == std::string_view::npos ? line : line.substr(slash + 1);
    return std::string(last.substr(0, last.find('.')));
}

void scanLeaf(SectionId leaf, ScanContext& context) {
    std::visit(
        [&](const auto& source) {
            using Kind = std::decay_t<decltype(source)>;
            if constexpr (std::is_same_v<Kind, RegistrySource>) scanRegistry(leaf, source, context);
            else if constexpr (std::is_same_v<Kind, WinIniSource>) scanWinIni(leaf, source, context);
            else scanStartupFolder(leaf, source, context);
        },
        *section(leaf).source);
}

}  // namespace lsu
