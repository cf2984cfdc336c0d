#include "platform/formats/AppManifest.h"

#include <algorithm>
#include <utility>

#include "base/CaseFolding.h"
#include "platform/formats/Digits.h"
#include "platform/formats/XmlDocument.h"

namespace lsu::formats {

namespace {

// Windows 8 packages, still installed beside newer ones, keep their
// manifest in the first namespace; they declare no startup tasks.
constexpr std::string_view kWindows8ManifestNamespace = "http://schemas.microsoft.com/appx/2010/manifest";
constexpr std::string_view kStartupTaskCategory = "windows.startupTask";

Error damaged(std::string_view message) {
    return Error{ErrorKind::DamagedData, 0, std::string("package manifest: ").append(message)};
}

std::string attributeOf(const XmlElement& element, std::string_view name) {
    return std::string(element.attribute(name).value_or(""));
}

// The startup tasks one application's extensions declare, in either of the
// namespaces a startup task may be declared in.
Status addStartupTasks(const XmlElement& extensions, const PackageApplication& application,
                       std::vector<PackageStartupTask>& tasks) {
    for (const XmlElement& extension : extensions.children) {
        const bool declaresTask =
            extension.is(kUap5Namespace, "Extension") || extension.is(kDesktopNamespace, "Extension");
        if (!declaresTask || extension.attribute("Category") != kStartupTaskCategory) continue;
        const XmlElement* declared = extension.firstChild(extension.namespaceUri, "StartupTask");
        if (!declared) return damaged("a startup task extension without its StartupTask");
        PackageStartupTask task;
        task.taskId = attributeOf(*declared, "TaskId");
        if (task.taskId.empty()) return damaged("a startup task without a TaskId");
        if (auto enabled = declared->attribute("Enabled")) {
            auto value = xmlBoolean(*enabled);
            if (!value) return damaged("the startup task " + task.taskId + " has an Enabled that is no boolean");
            task.enabled = *value;
        }
        task.displayName = attributeOf(*declared, "DisplayName");
        task.executable = extension.attribute("Executable").value_or(application.executable);
        task.applicationId = application.id;
        tasks.push_back(std::move(task));
    }
    return {};
}

}  // namespace

Result<AppManifest> readAppManifest(std::span<const std::uint8_t> bytes) {
    auto root = parseXml(bytes);
    if (!root) return root.error();
    const std::string_view ns = root->namespaceUri;
    if (!root->is(kManifestNamespace, "Package") && !root->is(kWindows8ManifestNamespace, "Package")) {
        return damaged("the document is not a package manifest");
    }
    AppManifest manifest;
    const XmlElement* identity = root->firstChild(ns, "Identity");
    if (!identity) return damaged("no Identity");
    manifest.identity = {attributeOf(*identity, "Name"), attributeOf(*identity, "Publisher"),
                         attributeOf(*identity, "Version"),
                         std::string(identity->attribute("ProcessorArchitecture").value_or("neutral")),
                         attributeOf(*identity, "ResourceId")};
    if (manifest.identity.name.empty() || manifest.identity.publisher.empty()) {
        return damaged("an Identity without its Name and Publisher");
    }
    const XmlElement* properties = root->firstChild(ns, "Properties");
    const XmlElement* displayName = properties ? properties->firstChild(ns, "DisplayName") : nullptr;
    if (displayName) manifest.displayName = xmlTrimmed(displayName->text);
    const XmlElement* applications = root->firstChild(ns, "Applications");
    for (const XmlElement* element :
         applications ? applications->childrenNamed(ns, "Application") : std::vector<const XmlElement*>()) {
        PackageApplication application{attributeOf(*element, "Id"), attributeOf(*element, "Executable")};
        if (const XmlElement* extensions = element->firstChild(ns, "Extensions")) {
            if (auto added = addStartupTasks(*extensions, application, manifest.startupTasks); !added) {
                return added.error();
            }
        }
        manifest.applications.push_back(std::move(application));
    }
    return manifest;
}

namespace {

bool allOf(std::string_view text, bool (*allowed)(char)) {
    for (char c : text) {
        if (!allowed(c)) return false;
    }
    return true;
}
bool isAlphanumeric(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }
bool isNameCharacter(char c) { return isAlphanumeric(c) || c == '.' || c == '-'; }
bool isResourceIdCharacter(char c) { return isNameCharacter(c) || c == '~'; }  // "~" names a bundle's resources

// Four numbers of up to 65535 joined by dots.
bool isPackageVersion(std::string_view version) {
    int parts = 0;
    for (std::size_t at = 0; at <= version.size(); ++parts) {
        const std::size_t dot = std::min(version.find('.', at), version.size());
        auto part = numberOfDigits(version.substr(at, dot - at), 5);
        if (!part || *part > 0xFFFF) return false;
        at = dot + 1;
    }
    return parts == 4;
}

bool isArchitecture(std::string_view architecture) {
    for (std::string_view known : {"x86", "x64", "arm", "arm64", "neutral", "x86a64"}) {
        if (architecture == known) return true;
    }
    return false;
}

}  // namespace

Result<std::string> packageFamilyName(std::string_view fullName) {
    std::vector<std::string_view> parts;
    for (std::size_t at = 0; parts.size() <= 5;) {
        const std::size_t end = std::min(fullName.find('_', at), fullName.size());
        parts.push_back(fullName.substr(at, end - at));
        if (end == fullName.size()) break;
        at = end + 1;
    }
    const bool wellFormed =
        parts.size() == 5 && parts[0].size() >= 3 && parts[0].size() <= 50 && allOf(parts[0], isNameCharacter) &&
        isPackageVersion(parts[1]) && isArchitecture(parts[2]) && parts[3].size() <= 30 &&
        allOf(parts[3], isResourceIdCharacter) && parts[4].size() == 13 && allOf(parts[4], isAlphanumeric);
    if (!wellFormed) {
        const std::string name(fullName);
        return Error{ErrorKind::DamagedData, 0, "\"" + name + "\" is not a package full name"};
    }
    return std::string(parts[0]) + "_" + std::string(parts[4]);
}

bool isResourceReference(std::string_view text) { return equalsNoCase(text.substr(0, 12), "ms-resource:"); }

}  // namespace lsu::formats
