#include "support/StartupDocuments.h"

#include "base/WindowsPaths.h"
#include "support/Seed.h"

namespace lsu::test {

namespace {

constexpr const char* kAppModel =
    "Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\CurrentVersion\\AppModel\\";

}  // namespace

std::string startupTaskExtension(TaskNamespace ns, const std::string& taskId, const std::string& executable,
                                 bool enabled, const std::string& displayName) {
    const std::string prefix = ns == TaskNamespace::Uap5 ? "uap5" : "desktop";
    return "<" + prefix + ":Extension Category=\"windows.startupTask\" Executable=\"" + executable +
           "\" EntryPoint=\"Windows.FullTrustApplication\">\n  <" + prefix + ":StartupTask TaskId=\"" + taskId +
           "\" Enabled=\"" + (enabled ? "true" : "false") + "\" DisplayName=\"" + displayName + "\" />\n</" + prefix +
           ":Extension>\n";
}

std::string packageManifest(const std::string& packageName, const std::string& extensions) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
           "<Package xmlns=\"http://schemas.microsoft.com/appx/manifest/foundation/windows10\"\n"
           "  xmlns:uap=\"http://schemas.microsoft.com/appx/manifest/uap/windows10\"\n"
           "  xmlns:uap5=\"http://schemas.microsoft.com/appx/manifest/uap/windows10/5\"\n"
           "  xmlns:desktop=\"http://schemas.microsoft.com/appx/manifest/desktop/windows10\"\n"
           "  IgnorableNamespaces=\"uap uap5 desktop\">\n"
           "  <Identity Name=\"" +
           packageName +
           "\" Publisher=\"CN=Contoso Software, O=Contoso, C=US\" Version=\"1.2.3.0\" "
           "ProcessorArchitecture=\"x64\" />\n"
           "  <Properties><DisplayName>ms-resource:AppName</DisplayName>"
           "<PublisherDisplayName>Contoso</PublisherDisplayName><Logo>Assets\\Logo.png</Logo></Properties>\n"
           "  <Dependencies><TargetDeviceFamily Name=\"Windows.Desktop\" MinVersion=\"10.0.17763.0\" "
           "MaxVersionTested=\"10.0.22621.0\" /></Dependencies>\n"
           "  <Resources><Resource Language=\"en-us\" /></Resources>\n"
           "  <Applications><Application Id=\"App\" Executable=\"App.exe\" "
           "EntryPoint=\"Windows.FullTrustApplication\">\n"
           "    <Extensions>\n" +
           extensions +
           "    </Extensions>\n"
           "  </Application></Applications>\n"
           "</Package>\n";
}

std::string seedPackage(const ScanPorts& platform, const std::string& root, const std::string& fullName,
                        const std::string& manifest) {
    const std::string folder = withTrailingBackslash(root) + fullName;
    expectDone(platform.files.ensureFolder(folder), "making " + folder);
    expectDone(platform.files.writeFile(folder + "\\AppxManifest.xml", {manifest.begin(), manifest.end()}),
               "writing the manifest of " + fullName);
    const RegistryLocation key{Hive::CurrentUser, RegistryView::Shared,
                               std::string(kAppModel) + "Repository\\Packages\\" + fullName};
    expectDone(platform.registry.writeValue(key, stringValue("PackageRootFolder", folder), true),
               "registering " + fullName);
    return folder;
}

RegistryLocation appTaskStateKey(const std::string& familyName, const std::string& taskId) {
    return {Hive::CurrentUser, RegistryView::Shared,
            std::string(kAppModel) + "SystemAppData\\" + familyName + "\\" + taskId};
}

std::string taskDefinition(const std::string& triggers, const std::string& actions, bool enabled, bool hidden) {
    return "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n"
           "<Task version=\"1.2\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">\n"
           "  <RegistrationInfo><Author>VENDOR\\installer</Author></RegistrationInfo>\n"
           "  <Triggers>" +
           triggers +
           "</Triggers>\n"
           "  <Principals><Principal id=\"Author\"><LogonType>InteractiveToken</LogonType></Principal></Principals>\n"
           "  <Settings><Enabled>" +
           (enabled ? "true" : "false") + "</Enabled><Hidden>" + (hidden ? "true" : "false") +
           "</Hidden></Settings>\n"
           "  <Actions Context=\"Author\">" +
           actions +
           "</Actions>\n"
           "</Task>";
}

std::string execAction(const std::string& command, const std::string& arguments) {
    return "<Exec><Command>" + command + "</Command>" +
           (arguments.empty() ? "" : "<Arguments>" + arguments + "</Arguments>") + "</Exec>";
}

}  // namespace lsu::test
