#include "ui/logic/ThemeManifest.h"

#include "catalog/Text.h"

namespace lsu {

namespace {

std::string withoutExtension(const std::string& fileName) {
    auto dot = fileName.find_last_of('.');
    return dot == std::string::npos ? fileName : fileName.substr(0, dot);
}

// A file name may hold "&" and "'", which would end the XML text or the
// attribute early; the other three are escaped as well, whatever the name.
std::string xmlEscaped(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        switch (c) {
            case '&': escaped += "&amp;"; break;
            case '<': escaped += "&lt;"; break;
            case '>': escaped += "&gt;"; break;
            case '"': escaped += "&quot;"; break;
            case '\'': escaped += "&apos;"; break;
            default: escaped += c; break;
        }
    }
    return escaped;
}

}  // namespace

std::string themeManifestPath(const std::string& programFolder, const std::string& programFileName) {
    return withTrailingBackslash(programFolder) + withoutExtension(programFileName) + ".exe.manifest";
}

// The assembly is an x86-64 build: Windows refuses to start a program whose
// manifest names another processor architecture.
std::string themeManifestText(const std::string& programFileName) {
    const std::string name = xmlEscaped(withoutExtension(programFileName));
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><assembly "
           "xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\"><assemblyIdentity version=\"1.0.0.0\" "
           "processorArchitecture=\"amd64\" name=\"Fernlight.WindowsXP." +
           name +
           "\" type=\"win32\" /> <description>Windows XP theming.</description> <dependency> <dependentAssembly> "
           "<assemblyIdentity type=\"win32\" name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\" "
           "processorArchitecture=\"amd64\" publicKeyToken=\"6595b64144ccf1df\" language=\"*\" /> "
           "</dependentAssembly> </dependency> </assembly>\r\n";
}

ManifestResult writeThemeManifest(Platform& platform) {
    const std::string path = themeManifestPath(platform.programFolder(), platform.programFileName());
    if (platform.fileExists(path)) return ManifestResult::AlreadyThere;
    const std::string text = themeManifestText(platform.programFileName());
    if (!platform.writeFile(path, {text.begin(), text.end()}) || !platform.setHidden(path))
        return ManifestResult::Failed;
    return ManifestResult::Written;
}

}  // namespace lsu
