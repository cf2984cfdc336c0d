#include "operations/FileNames.h"

#include <array>

#include "catalog/Text.h"

namespace lsu {

namespace {

// Device names the system reserves in every folder, with or without an
// extension ("NUL.txt" opens the null device too).
bool isReservedDeviceName(std::string_view name) {
    std::string stem = toUpperAscii(trimSpaces(name.substr(0, name.find('.'))));
    static const std::array<std::string_view, 4> plain = {"CON", "PRN", "AUX", "NUL"};
    for (auto reserved : plain)
        if (stem == reserved) return true;
    if (stem.size() == 4 && (startsWith(stem, "COM") || startsWith(stem, "LPT")))
        return stem[3] >= '1' && stem[3] <= '9';
    return false;
}

}  // namespace

std::optional<std::string> fileNameProblem(std::string_view name) {
    if (name.empty()) return "Enter a name for the entry.";
    for (char c : name) {
        if (static_cast<unsigned char>(c) < 32) return "The name may not contain control characters.";
        if (std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos)
            return "The name may not contain any of these characters: \\ / : * ? \" < > |";
    }
    if (name == "." || name == "..") return "The name \"" + std::string(name) + "\" is not a file name.";
    if (name.back() == '.' || name.back() == ' ') return "The name may not end in a dot or a space.";
    if (isReservedDeviceName(name))
        return "The name \"" + std::string(name) + "\" is reserved by Windows for a device.";
    return std::nullopt;
}

std::string withLinkExtension(std::string_view path) {
    std::string result(path);
    if (!endsWithNoCase(result, ".lnk")) result += ".lnk";
    return result;
}

}  // namespace lsu
