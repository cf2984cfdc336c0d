#include "operations/FileNames.h"

#include "base/CaseFolding.h"
#include "base/WindowsPaths.h"

namespace lsu {

std::optional<std::string> fileNameProblem(std::string_view name) {
    const auto fault = fileNameFault(name);
    if (!fault) return std::nullopt;
    switch (*fault) {
        case FileNameFault::Empty: return "Enter a name for the entry.";
        case FileNameFault::ControlCharacter: return "The name may not contain control characters.";
        case FileNameFault::ReservedCharacter:
            return "The name may not contain any of these characters: \\ / : * ? \" < > |";
        case FileNameFault::DotName: return "The name \"" + std::string(name) + "\" is not a file name.";
        case FileNameFault::TrailingDotOrSpace: return "The name may not end in a dot or a space.";
        case FileNameFault::DeviceName: break;
    }
    return "The name \"" + std::string(name) + "\" is reserved by Windows for a device.";
}

std::string withLinkExtension(std::string_view path) {
    std::string result(path);
    if (!endsWithNoCase(result, ".lnk")) result += ".lnk";
    return result;
}

}  // namespace lsu
