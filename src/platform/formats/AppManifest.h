#pragma once
// A packaged app's manifest (AppxManifest.xml in the package's folder): who
// the package is, its applications, and the startup tasks it declares,
// which Windows starts at logon unless the user or a policy switched them
// off. Plus the package names Windows derives from the manifest's identity.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"

namespace lsu::formats {

inline constexpr std::string_view kManifestNamespace =
    "http://schemas.microsoft.com/appx/manifest/foundation/windows10";
inline constexpr std::string_view kUap5Namespace = "http://schemas.microsoft.com/appx/manifest/uap/windows10/5";
inline constexpr std::string_view kDesktopNamespace = "http://schemas.microsoft.com/appx/manifest/desktop/windows10";

struct PackageIdentity {
    std::string name;
    std::string publisher;
    std::string version;
    std::string processorArchitecture;  // "neutral" when the manifest names none
    std::string resourceId;
    bool operator==(const PackageIdentity&) const = default;
};

struct PackageApplication {
    std::string id;
    std::string executable;  // relative to the package's folder; empty for an app without one
    bool operator==(const PackageApplication&) const = default;
};

struct PackageStartupTask {
    std::string taskId;
    bool enabled = true;      // what the manifest asks for before anyone switched the task
    std::string displayName;  // may be an "ms-resource:" reference, or empty
    std::string executable;   // the extension's, else its application's; relative to the package's folder
    std::string applicationId;
    bool operator==(const PackageStartupTask&) const = default;
};

struct AppManifest {
    PackageIdentity identity;
    std::string displayName;  // Properties/DisplayName; may be an "ms-resource:" reference
    std::vector<PackageApplication> applications;
    std::vector<PackageStartupTask> startupTasks;  // in the manifest's order
};

// DamagedData for XML that does not parse, a root that is no Package of
// the manifest's namespace (or of the first Windows 8 one), a package
// without an Identity name and publisher, or a startup task without a
// TaskId or with an Enabled that is no boolean.
Result<AppManifest> readAppManifest(std::span<const std::uint8_t> bytes);

// The family name of a package full name, which is
// Name_Version_Architecture_ResourceId_PublisherId: Name_PublisherId.
// DamagedData for anything not of that form, so that the result is safe
// to use as one key name.
Result<std::string> packageFamilyName(std::string_view fullName);

// Whether the text is a reference into the package's resources
// ("ms-resource:AppName") rather than text to show.
bool isResourceReference(std::string_view text);

}  // namespace lsu::formats
