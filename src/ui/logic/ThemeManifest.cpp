#include "ui/logic/ThemeManifest.h"

#include "base/WindowsPaths.h"

namespace lsu {

namespace {

// A file name may hold "&" and "'", which would end the XML text or the
// attribute early; the other three are escaped as well, whatever the name.
std::string xmlEscaped(std::string_view text) {
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
    return withTrailingBackslash(programFolder) + std::string(stemOf(programFileName)) + ".exe.manifest";
}

// The assembly is an x86-64 build: Windows refuses to start a program whose
// manifest names another processor architecture.
std::string themeManifestText(const std::string& programFileName) {
    const std::string name = xmlEscaped(stemOf(programFileName));
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><assembly "
           "xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\"><assemblyIdentity version=\"1.0.0.0\" "
           "processorArchitecture=\"amd64\" name=\"Fernlight.WindowsXP." +
           name +
           "\" type=\"win32\" /> <description>Windows XP theming.</description> <dependency> <dependentAssembly> "
           "<assemblyIdentity type=\"win32\" name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\" "
           "processorArchitecture=\"amd64\" publicKeyToken=\"6595b64144ccf1df\" language=\"*\" /> "
           "</dependentAssembly> </dependency> </assembly>\r\n";
}

Status writeThemeManifest(FileSystem& files, const std::string& programPath) {
    const std::string programFileName(fileNameOf(programPath));
    const std::string path = themeManifestPath(parentFolderOf(programPath), programFileName);
    if (files.fileExists(path)) return {};
    const std::string text = themeManifestText(programFileName);
    return files.createHiddenFile(path, {text.begin(), text.end()});
}

}  // namespace lsu
