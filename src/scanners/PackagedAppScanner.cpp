// Packaged apps' startup tasks: each package of the user that the app
// model's repository names, its manifest read from the package's folder,
// and every startup task declared there with the state Windows keeps for it.

#include <algorithm>

#include "base/CaseFolding.h"
#include "base/WindowsPaths.h"
#include "catalog/AppTaskSwitches.h"
#include "platform/RegistryStrings.h"
#include "platform/formats/AppManifest.h"
#include "platform/formats/XmlDocument.h"
#include "scanners/Scanners.h"

namespace lsu {

namespace {

constexpr const char* kManifestName = "AppxManifest.xml";

std::optional<std::string> textValue(Registry& registry, const RegistryLocation& key, const std::string& name) {
    auto value = registry.readValue(key, name);
    if (!value || (value->type != kRegSz && value->type != kRegExpandSz)) return std::nullopt;
    return textOfStoredString(value->data);
}

// Text a person reads as it stands: neither a reference into the package's
// resources nor an indirect string ("@{...}").
bool isPlainText(std::string_view text) {
    return !text.empty() && !formats::isResourceReference(text) && text.front() != '@';
}

// The executable's path in the package's folder; nullopt for a path that
// would lead out of the folder, or that no file can have.
std::optional<std::string> programInPackage(const std::string& folder, std::string_view executable) {
    std::string relative(executable);
    std::replace(relative.begin(), relative.end(), '/', '\\');
    for (std::size_t at = 0; at <= relative.size();) {
        const std::size_t end = std::min(relative.find('\\', at), relative.size());
        if (fileNameFault(std::string_view(relative).substr(at, end - at))) return std::nullopt;
        at = end + 1;
    }
    return withTrailingBackslash(folder) + relative;
}

// The package as the user knows it: the name the repository shows for it,
// else its manifest's, else its identity's.
std::string packageName(Registry& registry, const RegistryLocation& key, const formats::AppManifest& manifest) {
    if (auto shown = textValue(registry, key, "DisplayName"); shown && isPlainText(*shown)) return *shown;
    if (isPlainText(manifest.displayName)) return manifest.displayName;
    return manifest.identity.name;
}

std::string taskName(const formats::PackageStartupTask& task, const std::string& package) {
    if (task.displayName.empty()) return task.taskId;
    return isPlainText(task.displayName) ? task.displayName : package;
}

void appendTask(SectionId leaf, const PackagedAppSource& source, const std::string& family, const std::string& program,
                const formats::PackageStartupTask& task, const std::string& package, ScanContext& context) {
    // Without a State Windows keeps, the manifest's Enabled holds.
    bool enabled = task.enabled, byPolicy = false;
    const auto key = appTaskSwitchKey(source, family, task.taskId);
    if (const auto stored = key ? context.ports.registry.readValue(*key, std::string(kAppTaskStateName)) : std::nullopt)
        if (const auto state = appTaskStateOf(*stored)) {
            enabled = startsAtLogon(*state);
            byPolicy = setByPolicy(*state);
        }
    const bool found = context.check.fileExists(program);
    StartupEntry& row = appendEntry(context, taskName(task, package), program, leaf, enabled, EntryType::AppTask,
                                    found ? std::optional(program) : std::nullopt);
    row.packageFamilyName = family;
    row.taskId = task.taskId;
    if (byPolicy) row.lock = EntryLock::SetByPolicy;
}

void scanPackage(SectionId leaf, const PackagedAppSource& source, const std::string& fullName, ScanContext& context) {
    auto family = formats::packageFamilyName(fullName);
    if (!family) return;
    const RegistryLocation key{Hive::CurrentUser, RegistryView::Shared, std::string(source.packages) + "\\" + fullName};
    const auto folder = textValue(context.ports.registry, key, "PackageRootFolder");
    if (!folder || folder->empty()) return;
    const auto bytes =
        context.ports.files.readFileUpTo(withTrailingBackslash(*folder) + kManifestName, formats::kMaxXmlBytes);
    if (!bytes) return;
    // A manifest that does not parse, or that is another package's, declares
    // nothing Windows starts for this one.
    const auto manifest = formats::readAppManifest(*bytes);
    if (!manifest || !equalsNoCase(manifest->identity.name, fullName.substr(0, fullName.find('_')))) return;
    const std::string package = packageName(context.ports.registry, key, *manifest);
    for (const formats::PackageStartupTask& task : manifest->startupTasks)
        if (auto program = programInPackage(*folder, task.executable))
            appendTask(leaf, source, *family, *program, task, package, context);
}

}  // namespace

void scanPackagedApps(SectionId leaf, const PackagedAppSource& source, ScanContext& context) {
    const RegistryLocation packages{Hive::CurrentUser, RegistryView::Shared, std::string(source.packages)};
    for (const std::string& fullName :
         context.ports.registry.readSubkeys(packages).value_or(std::vector<std::string>{}))
        scanPackage(leaf, source, fullName, context);
}

}  // namespace lsu
