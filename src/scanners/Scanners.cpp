#include "scanners/Scanners.h"

#include <algorithm>
#include <unordered_map>

#include "base/CaseFolding.h"
#include "base/Text.h"
#include "base/WindowsPaths.h"
#include "catalog/DisabledStores.h"
#include "catalog/StartupSwitches.h"
#include "scanners/RegistryData.h"

namespace lsu {

namespace {

// Marks the rows from `first` on that Windows' switches turn off.
void applySwitches(ScanContext& context, SectionId leaf, RegistryView view, std::size_t first) {
    const auto key = switchKeyOf(leaf, view);
    if (!key || first == context.rows.size()) return;
    const auto switches = context.ports.registry.readValues(*key);
    if (!switches) return;
    for (std::size_t i = first; i < context.rows.size(); ++i) {
        StartupEntry& row = context.rows[i];
        const auto found = std::find_if(switches->begin(), switches->end(), [&](const RegistryValue& value) {
            return equalsNoCase(value.name, switchNameOf(row));
        });
        row.switchedOff = found != switches->end() && switchSaysOff(*found);
    }
}

// Windows starts the entries of both views of a machine key, unless the
// system keeps the two views as one key.
std::vector<RegistryView> viewsToRead(Registry& registry, const RegistrySource& source) {
    if (source.views == ViewRule::Shared) return {RegistryView::Shared};
    if (registry.viewsShareKey(source.hive, std::string(source.subkey))) return {RegistryView::Bits64};
    return {RegistryView::Bits64, RegistryView::Bits32};
}

void scanRegistry(SectionId leaf, const RegistrySource& source, ScanContext& context) {
    const auto views = viewsToRead(context.ports.registry, source);
    // Entries group policy writes have no disabled store.
    for (bool enabled : {true, false}) {
        if (!enabled && section(leaf).readOnly) break;
        const std::string subkey = enabled ? std::string(source.subkey) : disabledSubkey(source.subkey);
        for (RegistryView view : views) {
            auto values = context.ports.registry.readValues({source.hive, view, subkey});
            if (!values) continue;
            const std::size_t first = context.rows.size();
            for (auto& value : *values) {
                StartupEntry& row = appendEntry(context, value.name, renderRegistryData(value), leaf, enabled,
                                                EntryType::RegistryValue);
                row.view = view;
                row.stored = std::move(value);
            }
            if (enabled) applySwitches(context, leaf, view, first);
        }
    }
}

void scanWinIni(SectionId leaf, const WinIniSource& source, ScanContext& context) {
    const std::string file = winIniPath(context.ports.system);
    for (bool enabled : {true, false}) {
        const auto iniSection = enabled ? kWinIniEnabledSection : kWinIniDisabledSection;
        auto line = context.ports.profiles.readProfile(std::string(iniSection), std::string(source.key), file);
        // An empty key, and "No" in the section Windows reads, hold no entry.
        if (!line || line->empty() || (enabled && *line == "No")) continue;
        appendEntry(context, winIniEntryName(*line), *line, leaf, enabled, EntryType::File);
    }
}

void scanFolder(const std::string& folder, bool enabled, SectionId leaf, ScanContext& context) {
    const std::size_t first = context.rows.size();
    for (const std::string& file : context.ports.files.listFiles(folder)) {
        const std::string path = withTrailingBackslash(folder) + file;
        if (endsWithNoCase(trimSpaces(file), ".lnk")) {
            // A link the shell cannot read still stands in the folder and
            // still starts at logon: it is listed under its file name.
            auto link = context.ports.links.readShortcut(path);
            const std::string bare = trimSpaces(file);
            appendEntry(context, link ? link->displayName : bare.substr(0, bare.size() - 4),
                        link ? link->fields.targetPath : std::string(), leaf, enabled, EntryType::Shortcut)
                .fileName = file;
        } else {
            // The file stands in the folder: it is the program it names.
            appendEntry(context, file, file, leaf, enabled, EntryType::File, path).fileName = file;
        }
    }
    if (enabled) applySwitches(context, leaf, RegistryView::Shared, first);
}

void scanStartupFolder(SectionId leaf, const FolderSource& source, ScanContext& context) {
    SystemFacts& system = context.ports.system;
    const std::string startup = system.shellFolder(source.folder);
    if (!startup.empty()) scanFolder(startup, true, leaf, context);
    const std::string parked = disabledItemsFolder(system, leaf);
    if (!parked.empty()) scanFolder(parked, false, leaf, context);
    // Items parked beside the program before they were kept per user still
    // stand there, each its own row.
    const std::string besideProgram = disabledItemsFolderBesideProgram(system, leaf);
    if (equalsNoCase(besideProgram, parked)) return;
    const std::size_t first = context.rows.size();
    scanFolder(besideProgram, false, leaf, context);
    for (std::size_t i = first; i < context.rows.size(); ++i) context.rows[i].parkedBesideProgram = true;
}

// The key two rows of one leaf must share to be one entry in two places.
std::u16string twinKey(const StartupEntry& row) {
    const std::string name = sourceAs<FolderSource>(row.section) ? folderFileName(row) : row.name;
    return foldedName(name) + u'\n' + static_cast<char16_t>(row.view);
}

std::optional<std::vector<std::uint8_t>> fileBytesOf(ScanContext& context, const StartupEntry& row) {
    const std::string folder = entryFolder(context.ports.system, row);
    auto bytes = context.ports.files.readFile(withTrailingBackslash(folder) + folderFileName(row));
    if (!bytes) return std::nullopt;
    return std::move(*bytes);
}

// What is stored for the entry is the same in both places.
bool sameStored(ScanContext& context, const StartupEntry& live, const StartupEntry& parked) {
    if (sourceAs<RegistrySource>(live.section))
        return live.stored.type == parked.stored.type && live.stored.data == parked.stored.data;
    if (sourceAs<WinIniSource>(live.section)) return live.commandLine == parked.commandLine;
    const auto liveBytes = fileBytesOf(context, live);
    return liveBytes && liveBytes == fileBytesOf(context, parked);
}

// A move writes its target before it removes its source; one cut short in
// between leaves the same entry, byte for byte, in both places. The rows of
// the leaf from `first` on that stand so are marked, both of them.
void markTwins(ScanContext& context, std::size_t first) {
    std::unordered_multimap<std::u16string, std::size_t> parked;
    for (std::size_t i = first; i < context.rows.size(); ++i)
        if (!context.rows[i].enabled) parked.emplace(twinKey(context.rows[i]), i);
    if (parked.empty()) return;
    for (std::size_t i = first; i < context.rows.size(); ++i) {
        StartupEntry& live = context.rows[i];
        if (!live.enabled) continue;
        const auto [begin, end] = parked.equal_range(twinKey(live));
        for (auto match = begin; match != end; ++match) {
            StartupEntry& twin = context.rows[match->second];
            if (!sameStored(context, live, twin)) continue;
            live.hasTwin = twin.hasTwin = true;
        }
    }
}

}  // namespace

StartupEntry& appendEntry(ScanContext& context, std::string name, std::string commandLine, SectionId leaf, bool enabled,
                          EntryType type, const std::optional<std::string>& program) {
    StartupEntry& entry = context.rows.emplace_back();
    entry.name = std::move(name);
    entry.commandLine = std::move(commandLine);
    entry.section = leaf;
    entry.type = type;
    entry.enabled = enabled;
    entry.exists = program.has_value();
    if (program) entry.publisher = context.check.publisherOf(*program);
    return entry;
}

StartupEntry& appendEntry(ScanContext& context, std::string name, std::string commandLine, SectionId leaf, bool enabled,
                          EntryType type) {
    const auto program = context.check.resolveProgram(commandLine);
    return appendEntry(context, std::move(name), std::move(commandLine), leaf, enabled, type, program);
}

std::string winIniEntryName(std::string_view line) {
    auto slash = line.find_last_of('\\');
    auto last = slash == std::string_view::npos ? line : line.substr(slash + 1);
    return std::string(last.substr(0, last.find('.')));
}

void scanLeaf(SectionId leaf, ScanContext& context) {
    const std::size_t first = context.rows.size();
    std::visit(
        [&](const auto& source) {
            using Kind = std::decay_t<decltype(source)>;
            if constexpr (std::is_same_v<Kind, RegistrySource>) scanRegistry(leaf, source, context);
            else if constexpr (std::is_same_v<Kind, WinIniSource>) scanWinIni(leaf, source, context);
            else if constexpr (std::is_same_v<Kind, FolderSource>) scanStartupFolder(leaf, source, context);
            else if constexpr (std::is_same_v<Kind, ServiceSource>)
                scanServices(source.delayed, context.ports, context.check, context.services, context.rows);
            else if constexpr (std::is_same_v<Kind, PackagedAppSource>) scanPackagedApps(leaf, source, context);
            else scanScheduledTasks(leaf, source, context);
        },
        *section(leaf).source);
    markTwins(context, first);
}

}  // namespace lsu
